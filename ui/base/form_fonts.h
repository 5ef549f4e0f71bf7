// form_fonts.h - the windows' Tahoma fonts, made for a DPI.
#pragma once

#include <windows.h>

#include "ui/base/child_control.h"

namespace sipo::ui {

// Tahoma, Central European character set, heightPx pixels high at 96 dpi.
HFONT MakeTahoma(int heightPx, UINT dpi, bool bold, bool underline = false);
// Regular and bold at 11 px, title bold at 19 px.
TableFonts MakeTableFonts(UINT dpi);
void DeleteTableFonts(TableFonts& fonts);

}  // namespace sipo::ui
