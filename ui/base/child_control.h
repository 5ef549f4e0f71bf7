// child_control.h - how every control of the program is created, scaled and given its font.
#pragma once

#include <windows.h>

#include <string>

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

// Creates a child window with the control identifier id at place, in pixels of the parent's
// client area; every control of the program is made this way.
HWND CreateChildControl(const wchar_t* className, const wchar_t* text, DWORD style, HWND parent,
                        int id, const RECT& place, DWORD exStyle = 0);
// The width of text in font on the screen, at least 1 pixel so that an empty label stays a window
// with a size.
int TextWidth(const std::wstring& text, HFONT font);
// Makes a label exactly as wide as its text in the given font; returns that width.
int FitLabelWidth(HWND label, HFONT font);

inline int ScaleForDpi(int pixels96, UINT dpi) {
  return MulDiv(pixels96, static_cast<int>(dpi), 96);
}

// The bounds in pixels at dpi.
inline RECT ScaleBounds(const Bounds& b, UINT dpi) {
  const int left = ScaleForDpi(b.left, dpi), top = ScaleForDpi(b.top, dpi);
  return {left, top, left + ScaleForDpi(b.width, dpi), top + ScaleForDpi(b.height, dpi)};
}

}  // namespace sipo::ui
