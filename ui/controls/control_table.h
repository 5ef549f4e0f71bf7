// control_table.h - a window's controls described in one table, created and placed from it.
#pragma once

#include <windows.h>

#include <functional>

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

// Creates one control of a non-custom kind, empty-sized; ApplyBounds places it.
HWND CreateTableControl(const ControlRow& row, HWND parent);
// Moves the control to its scaled bounds and gives it its font; labels take their text's width.
void ApplyBounds(const ControlRow& row, HWND control, UINT dpi, const TableFonts& fonts);

}  // namespace sipo::ui
