// gradient_button.h - the program's push button: a two-half gradient face in three states.
#pragma once

#include <windows.h>

#include <string>

namespace sipo::ui {

enum class ButtonGroup { Action, Window };

// A push button (tab stop, caption wraps) that notifies its parent with BN_CLICKED as usual;
// Enter or Space presses it while it has the focus, though the window has no default button.
HWND CreateGradientButton(HWND parent, int id, const RECT& place, const std::wstring& text,
                          ButtonGroup group);

// Fills the left part of the face, fraction 0 to 1 of its width, as a progress bar under the
// caption; a negative fraction removes the fill.
void SetButtonProgress(HWND button, double fraction);

}  // namespace sipo::ui
