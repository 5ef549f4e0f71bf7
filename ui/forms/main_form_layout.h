// main_form_layout.h - the main window's control table, as the window's own modules read it.
#pragma once

#include <span>

#include "ui/controls/control_table.h"

namespace sipo::ui {

struct PanelRow {
  int id;
  Bounds bounds;
};

// The panels and the controls in tab order within each parent.
std::span<const PanelRow> MainFormPanels();
std::span<const ControlRow> MainFormControls();

}  // namespace sipo::ui
