// status_value.cpp - the label that shows a classification: its status text, as wide as the text.
#include "ui/status_value.h"

#include "ui/control_table.h"
#include "ui/win_text.h"

namespace sipo::ui {

Colour ShowStatusIn(HWND value, StatusClass status, HFONT bold) {
  SetControlText(value, StatusText(status));
  FitLabelWidth(value, bold);
  InvalidateRect(value, nullptr, TRUE);
  return StatusColour(status);
}

}  // namespace sipo::ui
