// busy_animator.cpp - the file run's busy picture, which keeps moving while the window is blocked.
// The file run holds the window's thread, so the frames are advanced and drawn by a thread of the
// animator's own; it draws through a device context of its own and never waits for the window.
#include "ui/busy_animator.h"

#include <commctrl.h>

#include <chrono>

#include "resources/picture_ids.h"

namespace sipo::ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

BusyAnimator::~BusyAnimator() {
  Stop();
}

HWND BusyAnimator::Create(HWND parent, int id) {
  // The panel's colour shows where the frames are transparent.
  picture_ = Picture::FromResource(IDR_BUSY_GIF, GetSysColor(COLOR_BTNFACE));
  hwnd_ = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  if (hwnd_ != nullptr) {
    SetWindowSubclass(hwnd_, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  return hwnd_;
}

void BusyAnimator::Start() {
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
  if (picture_.Empty()) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, picture_.Frames()[frame_].bitmap);
  BitBlt(dc, 0, 0, picture_.Size().cx, picture_.Size().cy, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void BusyAnimator::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT rc;
  GetClientRect(hwnd_, &rc);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd_), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(hwnd_)));
  FillRect(dc, &rc, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
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
    case WM_NCDESTROY:
      self->Stop();
      RemoveWindowSubclass(hwnd, ControlProc, kSubclassId);
      self->hwnd_ = nullptr;
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace sipo::ui
