// control_ids.h - control identifiers, named after the controls; the UI tests find controls by
// them.
#pragma once

namespace sipo::ui {

// 1 and 2 are left free: IsDialogMessage sends them for Enter and Escape.
enum ControlId : int {
  IDC_SinglePanel = 100,
  IDC_SingleHeader,
  IDC_SingleLabel,
  IDC_SingleEdit,
  IDC_StatusLabel,
  IDC_StatusValue,
  IDC_CloseButton = 300,
};

}  // namespace sipo::ui
