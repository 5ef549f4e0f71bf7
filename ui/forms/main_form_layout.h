// main_form_layout.h - the main window's control table, as the window's own modules read it.
#pragma once

#include <span>

#include "ui/controls/control_table.h"

namespace sipo::ui {

struct PanelSpec {
  int id;
  Bounds bounds;
};

// The panels and the controls in tab order within each parent.
std::span<const PanelSpec> MainFormPanels();
std::span<const ControlSpec> MainFormControls();

}  // namespace sipo::ui
