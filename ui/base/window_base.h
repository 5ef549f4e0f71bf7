// window_base.h - a window as a C++ object, with the one place where handler errors are caught.
#pragma once

#include <windows.h>

#include <string>

namespace sipo::ui {

// Caption of the error box; the program sets it once at start.
void SetProgramTitle(std::string cp1250Title);

// Modal error box: error icon, one OK, the program's title, the message with its full stop.
void ShowErrorBox(HWND owner, const std::string& cp1250Message);
// Inside a catch block: the error box for the error being handled, whatever its type. Every
// procedure that Windows calls ends its handlers' errors here.
void ShowCaughtError(HWND owner);

class WindowBase {
 public:
  virtual ~WindowBase() = default;
  HWND Handle() const { return hwnd_; }

  // Offers a message from the event loop's queue to the program's window it is for, before
  // dialog navigation and dispatch; true when that window took it. Errors are shown as a window
  // procedure's are.
  static bool PreTranslate(const MSG& msg);

 protected:
  // Registers the class once; the window procedure forwards to HandleMessage.
  static void RegisterClassOnce(const wchar_t* className, HBRUSH background, HICON icon);
  HWND CreateFor(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle,
                 int x, int y, int width, int height, HWND parent);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // A queued message for this window or one of its controls; true to take it from the queue.
  virtual bool TakeQueuedMessage(const MSG&) { return false; }
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

}  // namespace sipo::ui
