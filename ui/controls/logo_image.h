// logo_image.h - the maker's logo at the top of the main window, a link to the maker's page.
#pragma once

#include <windows.h>

#include <string>

namespace sipo::ui {

// The picture drawn unscaled at the control's top-left corner, with a hand cursor; a click
// reaches the parent as WM_COMMAND with STN_CLICKED. A screen reader finds a link to address.
HWND CreateLogoImage(HWND parent, int id, const RECT& place, const std::wstring& address);

}  // namespace sipo::ui
