// status_value.h - the label that shows a classification: its status text, as wide as the text.
#pragma once

#include <windows.h>

#include "core/sipo_number.h"

namespace sipo::ui {

// Puts the status text into the label and returns the colour the label is to be drawn in.
Colour ShowStatusIn(HWND value, StatusClass status, HFONT bold);

}  // namespace sipo::ui
