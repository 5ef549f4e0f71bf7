// main_form.cpp - the main window's controls and its handlers: the single number, the clipboard
// list, the file run, and the program's start and end.
#include "ui/forms/main_form.h"

#include <stdexcept>

#include <commctrl.h>
#include <shellapi.h>

#include "batch/clipboard_list.h"
#include "notice/startup_notice.h"
#include "program/maker.h"
#include "ui/base/control_ids.h"
#include "ui/base/start_steps.h"
#include "ui/controls/busy_animator.h"
#include "ui/controls/escape_edit.h"
#include "ui/forms/about_form.h"
#include "ui/forms/floating_form.h"
#include "ui/forms/main_form_layout.h"
#include "win/clipboard.h"
#include "win/decimal_separator.h"
#include "win/message_boxes.h"
#include "win/on_demand_dlls.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

// In tab order.
constexpr PanelRow kPanels[] = {
    {IDC_SinglePanel, {5, 96, 369, 81}},
    {IDC_MultiPanel, {5, 184, 369, 185}},
    {IDC_FilePanel, {5, 376, 369, 241}},
};

using enum Kind;
using enum FontKind;

// Within each parent the controls stand in tab order; the file panel's order is the designed
// one, with SYLKCheck after FileButton.
// clang-format off
constexpr ControlRow kControls[] = {
    {IDC_LogoImage, 0, Custom, "", {2, 0, 377, 57}, Regular},
    // "Program pro ověřování čísel účtů SIPO"
    {IDC_NameLabel, 0, Label, "Program pro ov\xEC\xF8ov\xE1n\xED \xE8\xEDsel \xFA\xE8t\xF9 SIPO",
     {3, 64, 370, 23}, Title},

    // " Jednorázové ověření"
    {IDC_SingleHeader, IDC_SinglePanel, Header, " Jednor\xE1zov\xE9 ov\xEC\xF8" "en\xED",
     {0, 0, 368, 17}, Bold},
    // "SIPO číslo ke kontrole :"
    {IDC_SingleLabel, IDC_SinglePanel, RightLabel, "SIPO \xE8\xEDslo ke kontrole :", {16, 27, 110, 13},
     Regular},
    {IDC_SingleEdit, IDC_SinglePanel, Edit, "", {136, 24, 121, 19}, Regular},
    {IDC_StatusLabel, IDC_SinglePanel, RightLabel, "Status :", {88, 48, 38, 13}, Regular},
    {IDC_StatusValue, IDC_SinglePanel, Label, "", {136, 48, 68, 13}, Bold},
    // "Automaticky ze schránky v plovoucím okně"
    {IDC_FloatingClipButton, IDC_SinglePanel, ActionButton,
     "Automaticky ze schr\xE1nky v plovouc\xEDm okn\xEC", {272, 24, 89, 49}, Regular},

    // " Hromadné ověření"
    {IDC_MultiHeader, IDC_MultiPanel, Header, " Hromadn\xE9 ov\xEC\xF8" "en\xED", {0, 0, 368, 17},
     Bold},
    {IDC_MultiGrid, IDC_MultiPanel, Custom, "", {8, 24, 273, 153}, Regular},
    // "Zdroj ze schránky"
    {IDC_MultiImportButton, IDC_MultiPanel, ActionButton, "Zdroj ze schr\xE1nky", {288, 24, 73, 41},
     Regular},
    // "Výsledek do schránky"
    {IDC_MultiExportButton, IDC_MultiPanel, ActionButton, "V\xFDsledek do schr\xE1nky",
     {288, 72, 73, 41}, Regular},

    // " Ověření dat v souboru"
    {IDC_FileHeader, IDC_FilePanel, Header, " Ov\xEC\xF8" "en\xED dat v souboru", {0, 0, 368, 17},
     Bold},
    {IDC_FileInputLabel, IDC_FilePanel, Label, "Vstup - soubor ke kontrole :", {8, 24, 133, 13},
     Regular},
    {IDC_FileInputEdit, IDC_FilePanel, FileEdit, "", {8, 40, 353, 18}, Regular},
    // "Výstup - soubor se správnými výsledky :"
    {IDC_FileOKOutputLabel, IDC_FilePanel, Label,
     "V\xFDstup - soubor se spr\xE1vn\xFDmi v\xFDsledky :", {8, 64, 194, 13}, Regular},
    {IDC_FileOKOutputEdit, IDC_FilePanel, FileEdit, "", {8, 80, 353, 18}, Regular},
    // "Výstup - soubor s chybnými výsledky :"
    {IDC_FileBadOutputLabel, IDC_FilePanel, Label, "V\xFDstup - soubor s chybn\xFDmi v\xFDsledky :",
     {8, 104, 184, 13}, Regular},
    {IDC_FileBadOutputEdit, IDC_FilePanel, FileEdit, "", {8, 120, 353, 18}, Regular},
    {IDC_FileAnimator, IDC_FilePanel, Custom, "", {8, 152, 85, 86}, Regular},
    // "Číslo sloupce :"
    {IDC_ColumnLabel, IDC_FilePanel, RightLabel, "\xC8\xEDslo sloupce :", {104, 154, 68, 13}, Regular},
    {IDC_ColumnEdit, IDC_FilePanel, Edit, "", {176, 152, 57, 19}, Regular},
    // "Oddělovač :"
    {IDC_DelimiterLabel, IDC_FilePanel, RightLabel, "Odd\xEClova\xE8 :", {114, 174, 58, 13}, Regular},
    {IDC_DelimiterEdit, IDC_FilePanel, Edit, "", {176, 172, 57, 19}, Regular},
    // "jediný sloupec"
    {IDC_SingleColumnCheck, IDC_FilePanel, Check, "jedin\xFD sloupec", {248, 152, 97, 17}, Regular},
    {IDC_FileButton, IDC_FilePanel, ActionButton, "Zpracovat", {104, 208, 257, 25}, Regular},
    // "text v uvozovkách"
    {IDC_SYLKCheck, IDC_FilePanel, Check, "text v uvozovk\xE1" "ch", {248, 172, 113, 17}, Regular},

    // "Zavřít"
    {IDC_CloseButton, 0, WindowButton, "Zav\xF8\xEDt", {237, 624, 137, 25}, Bold},
    {IDC_AboutButton, 0, WindowButton, "O programu", {5, 624, 153, 25}, Bold},
};
// clang-format on

int FieldControl(SettingsField field) {
  switch (field) {
    case SettingsField::SingleEdit:
      return IDC_SingleEdit;
    case SettingsField::FileInputEdit:
      return IDC_FileInputEdit;
    case SettingsField::FileOKOutputEdit:
      return IDC_FileOKOutputEdit;
    case SettingsField::FileBadOutputEdit:
      return IDC_FileBadOutputEdit;
    case SettingsField::ColumnEdit:
      return IDC_ColumnEdit;
    case SettingsField::DelimiterEdit:
      return IDC_DelimiterEdit;
    case SettingsField::SingleColumnCheck:
      return IDC_SingleColumnCheck;
    case SettingsField::SYLKCheck:
      return IDC_SYLKCheck;
  }
  return 0;
}

int SlotControl(FileNameSlot slot) {
  switch (slot) {
    case FileNameSlot::Input:
      return IDC_FileInputEdit;
    case FileNameSlot::OKOutput:
      return IDC_FileOKOutputEdit;
    case FileNameSlot::BadOutput:
      return IDC_FileBadOutputEdit;
  }
  return 0;
}

}  // namespace

std::span<const PanelRow> MainFormPanels() {
  return kPanels;
}

std::span<const ControlRow> MainFormControls() {
  return kControls;
}

// ---- Event handlers ----

void MainForm::FormCreate() {
  decimalSeparator_ = win::ReadUserDecimalSeparator();
  settingsUnavailable_ = !store_.EnsureSettingsFile(programDir_);
  MarkStartStep("settings");
  SendStartupNotice();
  MarkStartStep("notice");
}

// The remembered fields and the status; Show has moved the window to its place before it showed.
void MainForm::FormShow() {
  LoadSettings(store_, *this, settingsUnavailable_);
  // The number field got the focus as the window showed, before its remembered value came.
  KeepTextForEscape(Control(IDC_SingleEdit));
  MarkStartStep("fields");
  SingleEditChange();
}

bool MainForm::FormCloseQuery() {
  return true;
}

// A settings write that fails is shown, and the program ends all the same: a read-only settings
// file must not leave the user a window that cannot be closed. A run in progress is stopped
// first, and the window closes once it has ended.
void MainForm::FormClose() {
  if (StopRunForClose()) return;
  SaveOnClose();
  DestroyWindow(Handle());
}

void MainForm::SaveOnClose() {
  try {
    SavePlace(store_, settingsUnavailable_);
    SaveSettings(store_, *this, settingsUnavailable_);
  } catch (const std::exception& error) {
    ShowErrorBox(Handle(), error.what());
  }
}

void MainForm::SingleEditChange() {
  ShowStatus(ClassifyNumberText(win::GetControlText(Control(IDC_SingleEdit)), decimalSeparator_));
}

void MainForm::FloatingClipButtonClick() {
  ShowFloatingForm({Handle(), store_, settingsUnavailable_});
}

// A clipboard held by another program throws before the grid changes.
void MainForm::MultiImportButtonClick() {
  multiGrid_.SetRows(MultiImportRows(win::ReadClipboardText(Handle()), decimalSeparator_));
}

void MainForm::MultiExportButtonClick() {
  win::WriteClipboardText(Handle(), MultiExportText(multiGrid_.Rows()));
}

// The run goes on when the settings cannot be written: the user asked for the run, and the
// failure has been shown. While a run lasts, the button stops it.
void MainForm::FileButtonClick() {
  if (run_) {
    StopRun();
    return;
  }
  try {
    SaveSettings(store_, *this, settingsUnavailable_);
  } catch (const std::exception& error) {
    ShowErrorBox(Handle(), error.what());
  }
  FileRunOptions options;
  options.Input = win::GetControlText(Control(IDC_FileInputEdit));
  options.OKOutput = win::GetControlText(Control(IDC_FileOKOutputEdit));
  options.BadOutput = win::GetControlText(Control(IDC_FileBadOutputEdit));
  options.Column = win::GetControlText(Control(IDC_ColumnEdit));
  options.Delimiter = win::GetControlText(Control(IDC_DelimiterEdit));
  options.SingleColumn = FieldChecked(SettingsField::SingleColumnCheck);
  options.SYLK = FieldChecked(SettingsField::SYLKCheck);
  StartRun(options);
}

void MainForm::AboutButtonClick() {
  ShowAboutForm({Handle(), store_, settingsUnavailable_});
}

void MainForm::CloseButtonClick() {
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// The desktop's default handler opens the maker's page; when there is none, nothing is said.
void MainForm::LogoImageClick() {
  win::ShellOpen(win::Widen(MakerPageAddress()));
}

// ---- FileRunHost ----

bool MainForm::AskYesNo(std::string_view message) {
  return win::AskConfirmation(Handle(), message);
}

void MainForm::Inform(std::string_view message) {
  win::ShowInformation(Handle(), message);
}

// What changes is drawn at once, the animation's first frame too.
void MainForm::SetBusy(bool busy) {
  HWND animator = Control(IDC_FileAnimator);
  if (busy) {
    StartBusyAnimation(animator);
    ShowWindow(animator, SW_SHOW);
    UpdateWindow(animator);
  } else {
    ShowWindow(animator, SW_HIDE);
    StopBusyAnimation(animator);
    UpdateWindow(Control(IDC_FilePanel));
  }
}

void MainForm::ShowFileName(FileNameSlot slot, std::string_view name) {
  HWND field = Control(SlotControl(slot));
  win::SetControlText(field, name);
  UpdateWindow(field);
}

// ---- SettingsFields ----

std::string MainForm::FieldText(SettingsField field) const {
  return win::GetControlText(Control(FieldControl(field)));
}

void MainForm::SetFieldText(SettingsField field, std::string_view text) {
  win::SetControlText(Control(FieldControl(field)), text);
}

bool MainForm::FieldChecked(SettingsField field) const {
  return SendMessageW(Control(FieldControl(field)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainForm::SetFieldChecked(SettingsField field, bool checked) {
  SendMessageW(Control(FieldControl(field)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace sipo::ui
