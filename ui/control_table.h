// control_table.h - a window's controls described in one table, created and placed from it.
#pragma once

#include <windows.h>

#include <functional>

namespace sipo::ui {

// The kinds a table can name; each custom kind is built by the module of the same name.
enum class Kind {
  Label,         // static text, as wide as its text
  RightLabel,    // the same, its right edge kept where the table puts it, beside its field
  FixedLabel,    // static text of the table's width
  CentredLabel,  // static text of the table's width, centred, wrapped at its width
  Memo,          // multi-line text, read-only, centred lines wrapped at its width, scroll bar
  Edit,          // single-line entry field
  Check,         // check box
  ActionButton,  // gradient button of the action group
  WindowButton,  // gradient button of the window group
  Header,        // header bar
  FileEdit,      // file-name field with its browse button
  Custom,        // made by the window itself (picture, animation, grid)
};

enum class FontKind { Regular, Bold, Title };

// Pixels at 96 dpi, relative to the parent's client area.
struct Bounds {
  int left, top, width, height;
};

struct ControlSpec {
  int id;
  int parent;  // 0 for the window itself, else a panel's identifier
  Kind kind;
  const char* text;  // Windows-1250
  Bounds bounds;
  FontKind font;
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
// Creates one control of a non-custom kind, empty-sized; ApplyBounds places it.
HWND CreateTableControl(const ControlSpec& spec, HWND parent);
// Moves the control to its scaled bounds and gives it its font; labels take their text's width.
void ApplyBounds(const ControlSpec& spec, HWND control, UINT dpi, const TableFonts& fonts);
// Makes a label exactly as wide as its text in the given font; returns that width.
int FitLabelWidth(HWND label, HFONT font);

inline int ScaleForDpi(int pixels96, UINT dpi) {
  return MulDiv(pixels96, static_cast<int>(dpi), 96);
}

}  // namespace sipo::ui
