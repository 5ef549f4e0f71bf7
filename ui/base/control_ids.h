// control_ids.h - control identifiers, named after the controls; the UI tests find controls by
// them.
#pragma once

namespace sipo::ui {

// 1 and 2 are left free: IsDialogMessage sends them for Enter and Escape.
enum ControlId : int {
  IDC_LogoImage = 90,
  IDC_NameLabel,

  IDC_SinglePanel = 100,
  IDC_SingleHeader,
  IDC_SingleLabel,
  IDC_SingleEdit,
  IDC_StatusLabel,
  IDC_StatusValue,
  IDC_FloatingClipButton,

  IDC_MultiPanel = 200,
  IDC_MultiHeader,
  IDC_MultiGrid,
  IDC_MultiImportButton,
  IDC_MultiExportButton,

  IDC_FilePanel = 400,
  IDC_FileHeader,
  IDC_FileInputLabel,
  IDC_FileInputEdit,
  IDC_FileOKOutputLabel,
  IDC_FileOKOutputEdit,
  IDC_FileBadOutputLabel,
  IDC_FileBadOutputEdit,
  IDC_FileAnimator,
  IDC_ColumnLabel,
  IDC_ColumnEdit,
  IDC_DelimiterLabel,
  IDC_DelimiterEdit,
  IDC_SingleColumnCheck,
  IDC_SYLKCheck,
  IDC_FileButton,

  IDC_CloseButton = 300,
  IDC_AboutButton,

  // The About window; its close button is IDC_CloseButton. The floating window uses the
  // single panel's identifiers for its controls of the same names.
  IDC_TopLabel = 500,
  IDC_VersionValue,
  IDC_InfoLabel,
  IDC_LicenceMemo,
  IDC_AboutLabel,
  IDC_EmailLabel,
  IDC_EmailValue,
};

}  // namespace sipo::ui
