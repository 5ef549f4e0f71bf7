// escape_edit.h - Escape in an entry field puts back the text it held when it got the focus.
#pragma once

#include <windows.h>

namespace sipo::ui {

void InstallEscapeRestore(HWND edit);

}  // namespace sipo::ui
