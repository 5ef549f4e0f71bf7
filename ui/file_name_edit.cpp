// file_name_edit.cpp - an entry field for a file name, with a browse button at its right end.
#include "ui/file_name_edit.h"

#include <commctrl.h>

namespace sipo::ui {

// Stand-in until browsing is built: a plain entry field.
HWND CreateFileNameEdit(HWND parent, int id) {
  return CreateWindowExW(0, WC_EDITW, L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 0,
                         0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace sipo::ui
