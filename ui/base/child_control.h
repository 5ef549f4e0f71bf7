// child_control.h - how every control of the program is created, scaled and given its font.
#pragma once

#include <windows.h>

namespace sipo::ui {

enum class FontKind { Regular, Bold, Title };

// Pixels at 96 dpi, relative to the parent's client area.
struct Bounds {
  int left, top, width, height;
};

// The fonts a table's controls use, made for one DPI.
struct TableFonts {
  HFONT regular = nullptr;
  HFONT bold = nullptr;
  HFONT title = nullptr;
  HFONT Of(FontKind kind) const;
};

// Creates an empty-sized child window with the control identifier id; every control of the
// program is made this way.
HWND CreateChildControl(const wchar_t* className, const wchar_t* text, DWORD style, HWND parent,
                        int id, DWORD exStyle = 0);
// Makes a label exactly as wide as its text in the given font; returns that width.
int FitLabelWidth(HWND label, HFONT font);

inline int ScaleForDpi(int pixels96, UINT dpi) {
  return MulDiv(pixels96, static_cast<int>(dpi), 96);
}

}  // namespace sipo::ui
