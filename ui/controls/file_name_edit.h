// file_name_edit.h - an entry field for a file name, with a browse button at its right end.
#pragma once

#include <windows.h>

namespace sipo::ui {

// The returned window is the entry field itself (tab stop, flat border, EN_CHANGE to its parent
// as usual); the browse button lives inside it.
HWND CreateFileNameEdit(HWND parent, int id, const RECT& place);

}  // namespace sipo::ui
