// escape_edit.h - Escape in an entry field puts back the text it held when it got the focus.
#pragma once

#include <windows.h>

namespace sipo::ui {

void InstallEscapeRestore(HWND edit);

// A field that already has the focus takes its present text as the one Escape puts back: for a
// value the program puts in before the user can type, as the remembered one at the start.
void KeepTextForEscape(HWND edit);

}  // namespace sipo::ui
