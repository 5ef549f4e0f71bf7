// main_form_hints.h - the hints of the main window's controls.
#pragma once

#include <array>

namespace sipo::ui {

struct ControlHint {
  int id;
  const char* text;  // Windows-1250, lines broken by CR LF
};

// SingleEdit's hint is shown only while its text fits the field.
extern const std::array<ControlHint, 13> kMainFormHints;

}  // namespace sipo::ui
