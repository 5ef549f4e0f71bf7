// main_form.cpp - the main window: the single number, the clipboard list, the file run, and the
// program's start and end.
#include "ui/main_form.h"

#include <array>
#include <stdexcept>

#include <commctrl.h>
#include <shellapi.h>

#include "app/maker.h"
#include "app/startup_notice.h"
#include "batch/clipboard_list.h"
#include "ui/about_form.h"
#include "ui/clipboard.h"
#include "ui/control_ids.h"
#include "ui/decimal_separator.h"
#include "ui/escape_edit.h"
#include "ui/floating_form.h"
#include "ui/logo_image.h"
#include "ui/main_form_hints.h"
#include "ui/message_boxes.h"
#include "ui/placed_window.h"
#include "ui/win_text.h"

namespace sipo::ui {
namespace {

// Sizes and positions are pixels at 96 dpi.
constexpr int kClientWidth = 379;
constexpr int kClientHeight = 655;
constexpr POINT kDesignedPosition = {240, 152};
constexpr COLORREF kBackground = 0x717679;
constexpr COLORREF kNameColour = 0x00FFFF;
constexpr int kFontHeight = 11;
constexpr int kTitleFontHeight = 19;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr const char* kPlacementKey = "TMainForm";
constexpr UINT kAddHintsMessage = WM_APP + 1;

// Czech texts are Windows-1250 bytes; the comment shows each one.
constexpr const char* kCaption =
    "Tamrix SIPO - ov\xEC\xF8"
    "en\xED \xE8\xEDsla";  // ověření čísla

struct PanelSpec {
  int id;
  Bounds bounds;
};

// In tab order.
constexpr std::array<PanelSpec, 3> kPanels = {{
    {IDC_SinglePanel, {5, 96, 369, 81}},
    {IDC_MultiPanel, {5, 184, 369, 185}},
    {IDC_FilePanel, {5, 376, 369, 241}},
}};

using enum Kind;
using enum FontKind;

// Within each parent the controls stand in tab order; the file panel's order is the designed
// one, with SYLKCheck after FileButton.
// clang-format off
constexpr ControlSpec kControls[] = {
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

MainForm::MainForm(std::string programDir) : programDir_(std::move(programDir)) {}

MainForm::~MainForm() {
  if (Handle() != nullptr) DestroyWindow(Handle());
  DeleteObject(fonts_.regular);
  DeleteObject(fonts_.bold);
  DeleteObject(fonts_.title);
  DeleteObject(backgroundBrush_);
}

void MainForm::Create(HICON icon) {
  backgroundBrush_ = CreateSolidBrush(kBackground);
  RegisterClassOnce(kClassName, backgroundBrush_, icon);
  CreateFor(kClassName, Widen(kCaption).c_str(), kStyle, kExStyle, CW_USEDEFAULT, CW_USEDEFAULT,
            kClientWidth, kClientHeight, nullptr);
  if (Handle() == nullptr) throw std::runtime_error("Cannot create the main window");
}

void MainForm::Show(int showCommand) {
  FormShow();
  ShowWindow(Handle(), showCommand);
  UpdateWindow(Handle());
  SetFocus(Control(IDC_SingleEdit));
  // Hints are needed only once the mouse has rested on a control, so they wait until the window
  // is on screen: the start is what the user waits for.
  PostMessageW(Handle(), kAddHintsMessage, 0, 0);
}

// ---- Event handlers ----

void MainForm::FormCreate() {
  decimalSeparator_ = ReadUserDecimalSeparator();
  settingsUnavailable_ = store_.EnsureSettingsFile(programDir_);
  SendStartupNotice();
}

void MainForm::FormShow() {
  if (!settingsUnavailable_) {
    PlacedHwnd placed(Handle(), kPlacementKey);
    RestorePlacement(store_, placed);
  }
  LoadSettings(store_, *this, settingsUnavailable_);
  SingleEditChange();
}

bool MainForm::FormCloseQuery() {
  return true;
}

// A settings write that fails is shown, and the program ends all the same: a read-only settings
// file must not leave the user a window that cannot be closed.
void MainForm::FormClose() {
  SaveOnClose();
  DestroyWindow(Handle());
}

void MainForm::SaveOnClose() {
  try {
    if (!settingsUnavailable_) {
      PlacedHwnd placed(Handle(), kPlacementKey);
      SavePlacement(store_, placed);
    }
    SaveSettings(store_, *this, settingsUnavailable_);
  } catch (const std::exception& error) {
    ShowErrorBox(Handle(), error.what());
  }
}

void MainForm::SingleEditChange() {
  ShowStatus(ClassifyNumberText(GetControlText(Control(IDC_SingleEdit)), decimalSeparator_));
}

void MainForm::FloatingClipButtonClick() {
  ShowFloatingForm({Handle(), store_, settingsUnavailable_});
}

// A clipboard held by another program throws before the grid changes.
void MainForm::MultiImportButtonClick() {
  multiGrid_.SetRows(MultiImportRows(ReadClipboardText(Handle()), decimalSeparator_));
}

void MainForm::MultiExportButtonClick() {
  WriteClipboardText(Handle(), MultiExportText(multiGrid_.Rows()));
}

// The run goes on when the settings cannot be written: the user asked for the run, and the
// failure has been shown.
void MainForm::FileButtonClick() {
  try {
    SaveSettings(store_, *this, settingsUnavailable_);
  } catch (const std::exception& error) {
    ShowErrorBox(Handle(), error.what());
  }
  FileRunOptions options;
  options.Input = GetControlText(Control(IDC_FileInputEdit));
  options.OKOutput = GetControlText(Control(IDC_FileOKOutputEdit));
  options.BadOutput = GetControlText(Control(IDC_FileBadOutputEdit));
  options.Column = GetControlText(Control(IDC_ColumnEdit));
  options.Delimiter = GetControlText(Control(IDC_DelimiterEdit));
  options.SingleColumn = FieldChecked(SettingsField::SingleColumnCheck);
  options.SYLK = FieldChecked(SettingsField::SYLKCheck);
  RunFileCheck(options, programDir_, *this);
}

void MainForm::AboutButtonClick() {
  ShowAboutForm({Handle(), store_, settingsUnavailable_});
}

void MainForm::CloseButtonClick() {
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// The desktop's default handler opens the maker's page; when there is none, nothing is said.
void MainForm::LogoImageClick() {
  const std::string address = std::string("http://") + kMakerHost + kMakerPagePath;
  ShellExecuteW(nullptr, L"open", Widen(address).c_str(), L"", L"", SW_SHOWNORMAL);
}

// ---- FileRunHost ----

bool MainForm::AskYesNo(std::string_view message) {
  return AskConfirmation(Handle(), message);
}

void MainForm::Inform(std::string_view message) {
  ShowInformation(Handle(), message);
}

// The run blocks this thread, so what changes is drawn at once; the animation draws itself.
void MainForm::SetBusy(bool busy) {
  HWND animator = Control(IDC_FileAnimator);
  if (busy) {
    ShowWindow(animator, SW_SHOW);
    UpdateWindow(animator);
    fileAnimator_.Start();
  } else {
    ShowWindow(animator, SW_HIDE);
    fileAnimator_.Stop();
    UpdateWindow(Control(IDC_FilePanel));
  }
}

void MainForm::ShowFileName(FileNameSlot slot, std::string_view name) {
  HWND field = Control(SlotControl(slot));
  SetControlText(field, name);
  UpdateWindow(field);
}

// ---- SettingsFields ----

std::string MainForm::FieldText(SettingsField field) const {
  return GetControlText(Control(FieldControl(field)));
}

void MainForm::SetFieldText(SettingsField field, std::string_view text) {
  SetControlText(Control(FieldControl(field)), text);
}

bool MainForm::FieldChecked(SettingsField field) const {
  return SendMessageW(Control(FieldControl(field)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainForm::SetFieldChecked(SettingsField field, bool checked) {
  SendMessageW(Control(FieldControl(field)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// ---- Window plumbing ----

void MainForm::ShowStatus(StatusClass status) {
  statusColour_ = StatusColour(status);
  HWND value = Control(IDC_StatusValue);
  SetControlText(value, StatusText(status));
  FitLabelWidth(value, fonts_.bold);
  InvalidateRect(value, nullptr, TRUE);
}

// The designed position and client size, at the window's own DPI.
void MainForm::PlaceAtDesign() {
  dpi_ = GetDpiForWindow(Handle());
  RECT frame = {0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi_);
  SetWindowPos(Handle(), nullptr, Scale(kDesignedPosition.x), Scale(kDesignedPosition.y),
               frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainForm::CreateControls() {
  singlePanel_.Create(Handle(), IDC_SinglePanel);
  multiPanel_.Create(Handle(), IDC_MultiPanel);
  filePanel_.Create(Handle(), IDC_FilePanel);
  for (const auto& spec : kControls) {
    HWND parent = spec.parent == 0 ? Handle() : Control(spec.parent);
    if (spec.kind != Custom) {
      CreateTableControl(spec, parent);
    } else if (spec.id == IDC_LogoImage) {
      CreateLogoImage(parent, spec.id);
    } else if (spec.id == IDC_MultiGrid) {
      multiGrid_.Create(parent, spec.id);
    } else if (spec.id == IDC_FileAnimator) {
      fileAnimator_.Create(parent, spec.id);
    }
  }
  InstallEscapeRestore(Control(IDC_SingleEdit));
  MakeFonts();
  ApplyLayout();
}

void MainForm::MakeFonts() {
  DeleteObject(fonts_.regular);
  DeleteObject(fonts_.bold);
  DeleteObject(fonts_.title);
  auto make = [this](int height, int weight) {
    return CreateFontW(-Scale(height), 0, 0, 0, weight, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  };
  fonts_.regular = make(kFontHeight, FW_NORMAL);
  fonts_.bold = make(kFontHeight, FW_BOLD);
  fonts_.title = make(kTitleFontHeight, FW_BOLD);
}

void MainForm::ApplyLayout() {
  for (const auto& panel : kPanels) {
    const Bounds& p = panel.bounds;
    MoveWindow(Control(panel.id), Scale(p.left), Scale(p.top), Scale(p.width), Scale(p.height),
               TRUE);
  }
  for (const auto& spec : kControls) ApplyBounds(spec, Control(spec.id), dpi_, fonts_);
}

void MainForm::AddHints() {
  hints_.Create(Handle());
  for (const auto& hint : kMainFormHints) {
    if (hint.id == IDC_SingleEdit) {
      hints_.AddTextOrHint(Control(hint.id), hint.text);
    } else {
      hints_.Add(Control(hint.id), hint.text);
    }
  }
}

HWND MainForm::Control(int id) const {
  if (HWND direct = GetDlgItem(Handle(), id)) return direct;
  for (const auto& panel : kPanels) {
    if (HWND inPanel = GetDlgItem(GetDlgItem(Handle(), panel.id), id)) return inPanel;
  }
  return nullptr;
}

LRESULT MainForm::ColourControl(HDC dc, HWND control) {
  if (GetParent(control) == Handle()) {
    SetBkColor(dc, kBackground);
    SetTextColor(dc, kNameColour);
    return reinterpret_cast<LRESULT>(backgroundBrush_);
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc,
               control == Control(IDC_StatusValue) ? statusColour_ : GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void MainForm::OnCommand(int id, int code) {
  struct Route {
    int id;
    int code;
    void (MainForm::*handler)();
  };
  static constexpr Route kRoutes[] = {
      {IDC_SingleEdit, EN_CHANGE, &MainForm::SingleEditChange},
      {IDC_FloatingClipButton, BN_CLICKED, &MainForm::FloatingClipButtonClick},
      {IDC_MultiImportButton, BN_CLICKED, &MainForm::MultiImportButtonClick},
      {IDC_MultiExportButton, BN_CLICKED, &MainForm::MultiExportButtonClick},
      {IDC_FileButton, BN_CLICKED, &MainForm::FileButtonClick},
      {IDC_AboutButton, BN_CLICKED, &MainForm::AboutButtonClick},
      {IDC_CloseButton, BN_CLICKED, &MainForm::CloseButtonClick},
      {IDC_LogoImage, STN_CLICKED, &MainForm::LogoImageClick},
  };
  for (const Route& route : kRoutes) {
    if (route.id == id && route.code == code) (this->*route.handler)();
  }
}

// A plain window, unlike a dialog, would take the focus itself when the user comes back to it;
// the control that had it gets it back instead, so typing goes on where it stopped.
void MainForm::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) lastFocus_ = focus;
    return;
  }
  HWND target =
      lastFocus_ != nullptr && IsWindow(lastFocus_) ? lastFocus_ : Control(IDC_SingleEdit);
  SetFocus(target);
}

void MainForm::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  MakeFonts();
  ApplyLayout();
}

LRESULT MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      PlaceAtDesign();
      CreateControls();
      FormCreate();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (hints_.OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
      return Default(message, wParam, lParam);
    }
    case WM_CTLCOLORSTATIC:
      return ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_SETTINGCHANGE:
      decimalSeparator_ = ReadUserDecimalSeparator();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      if (FormCloseQuery()) FormClose();
      return 0;
    case kAddHintsMessage:
      AddHints();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

}  // namespace sipo::ui
