// form_fonts.cpp - the windows' Tahoma fonts, made for a DPI.
#include "ui/base/form_fonts.h"

namespace sipo::ui {

HFONT MakeTahoma(int heightPx, UINT dpi, bool bold, bool underline) {
  return CreateFontW(-ScaleForDpi(heightPx, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                     underline ? TRUE : FALSE, FALSE, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

TableFonts MakeTableFonts(UINT dpi) {
  return {MakeTahoma(11, dpi, false), MakeTahoma(11, dpi, true), MakeTahoma(19, dpi, true)};
}

void DeleteTableFonts(TableFonts& fonts) {
  DeleteObject(fonts.regular);
  DeleteObject(fonts.bold);
  DeleteObject(fonts.title);
  fonts = {};
}

}  // namespace sipo::ui
