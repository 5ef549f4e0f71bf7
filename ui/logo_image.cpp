// logo_image.cpp - the maker's logo at the top of the main window, a link to the maker's page.
#include "ui/logo_image.h"

#include <commctrl.h>

namespace sipo::ui {

// Stand-in until the picture is drawn: an empty clickable static.
HWND CreateLogoImage(HWND parent, int id) {
  return CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace sipo::ui
