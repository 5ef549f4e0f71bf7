// header_bar.h - the bar across the top of a panel: its title in white bold on a gradient.
#pragma once

#include <windows.h>

namespace sipo::ui {

// A bar that draws itself with the font it is given (WM_SETFONT).
HWND CreateHeaderBar(HWND parent, int id, const char* cp1250Text);

}  // namespace sipo::ui
