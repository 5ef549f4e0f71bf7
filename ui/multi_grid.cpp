// multi_grid.cpp - the clipboard list's grid of numbers and their status.
#include "ui/multi_grid.h"

#include <commctrl.h>

namespace sipo::ui {

// Stand-in until the grid is built: an empty report list.
HWND MultiGrid::Create(HWND parent, int id) {
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  return hwnd_;
}

}  // namespace sipo::ui
