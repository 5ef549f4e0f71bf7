// busy_animator.h - the file run's busy picture, which keeps moving while the window is blocked.
#pragma once

#include <windows.h>

namespace sipo::ui {

class BusyAnimator {
 public:
  BusyAnimator() = default;
  ~BusyAnimator();
  BusyAnimator(const BusyAnimator&) = delete;
  BusyAnimator& operator=(const BusyAnimator&) = delete;

  // Created hidden; the owner places it.
  HWND Create(HWND parent, int id);
  // Starts and stops the frames' advance (the owner shows and hides the control).
  void Start();
  void Stop();

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace sipo::ui
