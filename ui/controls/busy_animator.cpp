// busy_animator.cpp - the file run's busy picture, which moves while the run goes on.
// The run's sort has a thread of its own, so the window's thread is free: the frames advance on a
// window timer, each after its own delay, and are drawn by the control's ordinary paint.
#include "ui/controls/busy_animator.h"

#include <commctrl.h>

#include <cstddef>

#include "resources/picture_ids.h"
#include "ui/base/accessible_object.h"
#include "ui/base/child_control.h"
#include "ui/base/subclassed_control.h"
#include "ui/controls/picture_resource.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

constexpr UINT kStartMessage = WM_APP + 1;
constexpr UINT kStopMessage = WM_APP + 2;
constexpr UINT_PTR kFrameTimer = 1;

// A screen reader hears an animation that says what is going on.
AccessibleLook AnimationLook() {
  // Probíhá zpracování souboru
  return AccessibleLook(ROLE_SYSTEM_ANIMATION,
                        win::Widen("Prob\xEDh\xE1 zpracov\xE1n\xED souboru"));
}

// The frames are decoded by the first start: nothing shows them before the first file run, and a
// decoder loading beside the window's start slows the making of its controls.
class BusyAnimation : public SubclassedControl {
 public:
  // The panel's colour shows where the frames are transparent.
  BusyAnimation() : background_(GetSysColor(COLOR_BTNFACE)) {}
  ~BusyAnimation() override { Stop(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT:
        return OnPaint();
      case WM_ERASEBKGND:
        return 1;
      case WM_TIMER:
        return wParam == kFrameTimer ? OnFrameTimer() : Default(message, wParam, lParam);
      case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
      case kStartMessage:
        Start();
        return 0;
      case kStopMessage:
        Stop();
        return 0;
      default:
        return Default(message, wParam, lParam);
    }
  }

 private:
  // Unscaled at the top-left corner, on the parent's background.
  LRESULT OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    FillWithParentBackground(Handle(), dc);
    DrawPictureFrame(dc, picture_, frame_);
    EndPaint(Handle(), &ps);
    return 0;
  }

  LRESULT OnFrameTimer() {
    frame_ = (frame_ + 1) % picture_.Frames().size();
    InvalidateRect(Handle(), nullptr, FALSE);
    WaitForNextFrame();
    return 0;
  }

  LRESULT OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (LRESULT answer = AnswerAccessibleObject(Handle(), wParam, lParam, AnimationLook())) {
      return answer;
    }
    return Default(WM_GETOBJECT, wParam, lParam);
  }

  void Start() {
    if (!decoded_) {
      decoded_ = true;
      picture_ = Picture::FromResource(IDR_BUSY_GIF, background_);
    }
    if (running_ || picture_.Empty()) return;
    running_ = true;
    frame_ = 0;
    InvalidateRect(Handle(), nullptr, FALSE);
    WaitForNextFrame();
  }

  void Stop() {
    if (!running_) return;
    running_ = false;
    KillTimer(Handle(), kFrameTimer);
  }

  // The timer is set anew for each frame, as each frame keeps its own delay.
  void WaitForNextFrame() {
    SetTimer(Handle(), kFrameTimer, picture_.Frames()[frame_].delayMs, nullptr);
  }

  COLORREF background_;
  bool decoded_ = false;
  bool running_ = false;
  Picture picture_;
  std::size_t frame_ = 0;
};

}  // namespace

HWND CreateBusyAnimation(HWND parent, int id, const RECT& place) {
  HWND animation = CreateChildControl(WC_STATICW, L"", WS_CHILD, parent, id, place);
  SubclassedControl::Attach<BusyAnimation>(animation);
  return animation;
}

void StartBusyAnimation(HWND animation) {
  SendMessageW(animation, kStartMessage, 0, 0);
}

void StopBusyAnimation(HWND animation) {
  SendMessageW(animation, kStopMessage, 0, 0);
}

}  // namespace sipo::ui
