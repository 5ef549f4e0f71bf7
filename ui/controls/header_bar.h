// header_bar.h - the bar across the top of a panel: its title in white bold on a gradient.
#pragma once

#include <windows.h>

#include <string>

namespace sipo::ui {

// A bar that draws itself with the font it is given (WM_SETFONT).
HWND CreateHeaderBar(HWND parent, int id, const RECT& place, const std::wstring& text);

}  // namespace sipo::ui
