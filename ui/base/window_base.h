// window_base.h - a window as a C++ object, with the one place where handler errors are caught.
#pragma once

#include <windows.h>

#include <string>

namespace sipo::ui {

// Caption of the error box; the program sets it once at start.
void SetProgramTitle(std::string cp1250Title);
const std::string& ProgramTitleText();

// Modal error box: error icon, one OK, the program's title, the message with its full stop.
void ShowErrorBox(HWND owner, const std::string& cp1250Message);

class WindowBase {
 public:
  virtual ~WindowBase() = default;
  HWND Handle() const { return hwnd_; }

 protected:
  // Registers the class once; the window procedure forwards to HandleMessage.
  static void RegisterClassOnce(const wchar_t* className, HBRUSH background, HICON icon);
  HWND CreateFor(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle,
                 int x, int y, int width, int height, HWND parent);

  // Moves the window to its designed position with its designed client size (pixels at 96 dpi),
  // both scaled to the window's own DPI, which it returns.
  UINT PlaceAtDesign(POINT position, SIZE client, DWORD style, DWORD exStyle);
  // Moves the window to the rectangle Windows suggests when the DPI under it changes.
  void MoveToSuggested(const RECT& suggested);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

}  // namespace sipo::ui
