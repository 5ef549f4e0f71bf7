// status_value.cpp - the label that shows a classification: its status text, as wide as the text.
#include "ui/base/status_value.h"

#include "ui/base/child_control.h"
#include "win/win_text.h"

namespace sipo::ui {

Colour ShowStatusIn(HWND value, StatusClass status, HFONT bold) {
  win::SetControlText(value, StatusText(status));
  FitLabelWidth(value, bold);
  InvalidateRect(value, nullptr, TRUE);
  return StatusColour(status);
}

}  // namespace sipo::ui
