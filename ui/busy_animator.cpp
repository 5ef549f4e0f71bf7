// busy_animator.cpp - the file run's busy picture, which keeps moving while the window is blocked.
#include "ui/busy_animator.h"

#include <commctrl.h>

namespace sipo::ui {

BusyAnimator::~BusyAnimator() {
  Stop();
}

// Stand-in until the frames are drawn: an empty static.
HWND BusyAnimator::Create(HWND parent, int id) {
  hwnd_ = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  return hwnd_;
}

void BusyAnimator::Start() {}
void BusyAnimator::Stop() {}

}  // namespace sipo::ui
