// window_probe.h - what a test reads off another program's windows: focus, message boxes,
// tooltips, rectangles, and files in the program's folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/window_finder.h"

namespace sipo::uitest {

using test::CountWindowsOfClass;
using test::FindControl;
using test::FindVisibleWindow;

// The control that has the keyboard focus in the thread that owns window.
HWND FocusOf(HWND window);
// The control's rectangle in the client coordinates of window.
RECT RectIn(HWND control, HWND window);
std::wstring WindowText(HWND window);

// A visible message box (or other dialog) of the process with this caption, or nullptr.
HWND WaitForDialog(DWORD processId, const wchar_t* caption, DWORD timeoutMs = 10000);
// The message a message box shows.
std::wstring MessageOf(HWND box);
// Presses one of a dialog's buttons and waits for the dialog to go.
void PressDialogButton(HWND box, int buttonId);

// The text of the process's visible tooltip once the mouse rests on control, or empty.
std::wstring HintOf(DWORD processId, HWND control, RECT* shownAt = nullptr);
// Moves the mouse away from every control of window.
void MouseAway();

// The screen's pixels inside a window's rectangle, row by row, as 0x00BBGGRR.
std::vector<COLORREF> ScreenPixels(HWND window);

// The report list inside a grid, which holds its rows.
HWND GridList(HWND grid);
// The height of the header row of a grid: the header of the report list inside it.
int GridHeaderHeight(HWND grid);

// Whole files as bytes.
std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

}  // namespace sipo::uitest
