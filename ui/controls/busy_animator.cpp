// busy_animator.cpp - the file run's busy picture, which keeps moving while the window is blocked.
// The file run holds the window's thread, so the frames are advanced and drawn by a thread of the
// animator's own; it draws through a device context of its own and never waits for the window.
#include "ui/controls/busy_animator.h"

#include <commctrl.h>

#include <chrono>

#include "resources/picture_ids.h"
#include "ui/base/accessible_object.h"
#include "ui/base/child_control.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;

// A screen reader hears an animation that says what is going on.
AccessibleLook AnimationLook() {
  // Probíhá zpracování souboru
  return AccessibleLook(ROLE_SYSTEM_ANIMATION, win::Widen("Prob\xEDh\xE1 zpracov\xE1n\xED souboru"));
}

}  // namespace

BusyAnimator::~BusyAnimator() {
  Stop();
}

// The frames are decoded by the first Start: nothing shows them before the first file run, and a
// decoder loading beside the window's start slows the making of its controls.
HWND BusyAnimator::Create(HWND parent, int id) {
  // The panel's colour shows where the frames are transparent.
  const COLORREF background = GetSysColor(COLOR_BTNFACE);
  decoding_ = std::async(std::launch::deferred,
                         [background] { return Picture::FromResource(IDR_BUSY_GIF, background); });
  hwnd_ = CreateChildControl(WC_STATICW, L"", WS_CHILD, parent, id);
  if (hwnd_ != nullptr) {
    SetWindowSubclass(hwnd_, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  return hwnd_;
}

void BusyAnimator::Start() {
  if (decoding_.valid()) picture_ = decoding_.get();
  if (thread_.joinable() || picture_.Empty() || hwnd_ == nullptr) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = false;
    frame_ = 0;
  }
  thread_ = std::thread(&BusyAnimator::Animate, this);
}

// Once Stop returns, the thread has ended and draws nothing more.
void BusyAnimator::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void BusyAnimator::Animate() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (HDC dc = GetDC(hwnd_)) {
      DrawFrame(dc);
      ReleaseDC(hwnd_, dc);
      GdiFlush();
    }
    const auto delay = std::chrono::milliseconds(picture_.Frames()[frame_].delayMs);
    if (wake_.wait_for(lock, delay, [this] { return stopping_; })) break;
    frame_ = (frame_ + 1) % picture_.Frames().size();
  }
}

// Unscaled at the top-left corner; the caller holds the mutex.
void BusyAnimator::DrawFrame(HDC dc) {
  DrawPictureFrame(dc, picture_, frame_);
}

void BusyAnimator::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  FillWithParentBackground(hwnd_, dc);
  {
    std::lock_guard lock(mutex_);
    DrawFrame(dc);
  }
  EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK BusyAnimator::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR refData) {
  auto* self = reinterpret_cast<BusyAnimator*>(refData);
  switch (message) {
    case WM_PAINT:
      self->Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETOBJECT:
      if (LRESULT answer = AnswerAccessibleObject(hwnd, wParam, lParam, AnimationLook())) {
        return answer;
      }
      break;
    case WM_NCDESTROY:
      self->Stop();
      RemoveWindowSubclass(hwnd, ControlProc, kSubclassId);
      self->hwnd_ = nullptr;
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace sipo::ui
