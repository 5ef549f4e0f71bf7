// busy_animator.h - the file run's busy picture, which keeps moving while the window is blocked.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <future>
#include <mutex>
#include <thread>

#include "ui/controls/picture_resource.h"

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
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR refData);
  void Paint();
  void Animate();
  void DrawFrame(HDC dc);

  HWND hwnd_ = nullptr;
  std::future<Picture> decoding_;  // until the first Start takes the picture
  Picture picture_;
  std::thread thread_;
  std::mutex mutex_;  // guards the fields below and every drawing of a frame
  std::condition_variable wake_;
  bool stopping_ = false;
  std::size_t frame_ = 0;
};

}  // namespace sipo::ui
