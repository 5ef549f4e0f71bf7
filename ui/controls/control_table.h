// control_table.h - a window's controls described in one table, created and placed from it.
#pragma once

#include <windows.h>

#include <string>

#include "ui/base/child_control.h"

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

struct ControlRow {
  int id;
  int parent;  // 0 for the window itself, else a panel's identifier
  Kind kind;
  const char* text;  // Windows-1250
  Bounds bounds;
  FontKind font;
};

// Where the row's control stands at dpi: its bounds scaled, a label as wide as text in font.
RECT TableControlPlace(const ControlRow& row, UINT dpi, HFONT font, const std::wstring& text);
// Creates one control of a non-custom kind at place, with text and font, in one step: nothing is
// moved or measured again before the window is shown.
HWND CreateTableControl(const ControlRow& row, HWND parent, const RECT& place,
                        const std::wstring& text, HFONT font);
// The same with the row's own text, at its place for dpi.
HWND CreateTableControl(const ControlRow& row, HWND parent, UINT dpi, const TableFonts& fonts);

// After a change of DPI: moves a control to its new place and gives it its new font.
void PlaceControl(HWND control, const RECT& place, HFONT font);
// The same for a table's control; a label takes its current text's width.
void ApplyBounds(const ControlRow& row, HWND control, UINT dpi, const TableFonts& fonts);

}  // namespace sipo::ui
