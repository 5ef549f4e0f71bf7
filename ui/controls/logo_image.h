// logo_image.h - the maker's logo at the top of the main window, a link to the maker's page.
#pragma once

#include <windows.h>

namespace sipo::ui {

// The picture drawn unscaled at the control's top-left corner, with a hand cursor; a click
// reaches the parent as WM_COMMAND with STN_CLICKED.
HWND CreateLogoImage(HWND parent, int id);

}  // namespace sipo::ui
