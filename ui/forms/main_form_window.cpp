// main_form_window.cpp - the main window as a window: its creation, controls, fonts and colours,
// and the routing of its messages to the handlers.
#include "ui/forms/main_form.h"

#include <commctrl.h>

#include <stdexcept>

#include "program/maker.h"
#include "ui/base/contrast_colours.h"
#include "ui/base/control_ids.h"
#include "ui/base/designed_colours.h"
#include "ui/base/form_fonts.h"
#include "ui/base/start_steps.h"
#include "ui/base/status_value.h"
#include "ui/controls/busy_animator.h"
#include "ui/controls/escape_edit.h"
#include "ui/controls/logo_image.h"
#include "ui/controls/outlined_text.h"
#include "ui/forms/main_form_hints.h"
#include "ui/forms/main_form_layout.h"
#include "ui/forms/main_form_run.h"
#include "win/decimal_separator.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

// Sizes and positions are pixels at 96 dpi.
constexpr int kClientWidth = 379;
constexpr int kClientHeight = 655;
constexpr POINT kDesignedPosition = {240, 152};
constexpr COLORREF kNameColour = 0x00FFFF;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr FormDesign kDesign = {
    kDesignedPosition, {kClientWidth, kClientHeight}, kStyle, kExStyle, "TMainForm"};

// Czech texts are Windows-1250 bytes; the comment shows each one.
constexpr const char* kCaption =
    "Tamrix SIPO - ov\xEC\xF8"
    "en\xED \xE8\xEDsla";  // ověření čísla

}  // namespace

MainForm::MainForm(std::string programDir)
    : FormWindow(kDesign), programDir_(std::move(programDir)) {}

MainForm::~MainForm() {
  if (Handle() != nullptr) DestroyWindow(Handle());
  DeleteTableFonts(fonts_);
  DeleteObject(backgroundBrush_);
}

void MainForm::Create(HICON icon) {
  MarkStartStep("entry");
  backgroundBrush_ = CreateSolidBrush(kWindowGrey);
  RegisterClassOnce(kClassName, backgroundBrush_, icon);
  // Made at its designed frame for the system's DPI, which is the window's own unless a monitor
  // of another scaling holds it: then it is placed again as it is made.
  const RECT frame = DesignedFrame(GetDpiForSystem());
  CreateFor(kClassName, win::Widen(kCaption).c_str(), kStyle, kExStyle, frame.left, frame.top,
            frame.right - frame.left, frame.bottom - frame.top, nullptr);
  if (Handle() == nullptr) throw std::runtime_error("Cannot create the main window");
}

// The window moves to its remembered place before it shows. The fields' remembered values, the
// status and the grid's list, its fonts and columns come once the window shows but before anything
// of it is painted: the window is there sooner, and its first paint is the same.
void MainForm::Show(int showCommand) {
  RestorePlace(store_, settingsUnavailable_);
  MarkStartStep("restore");
  ShowWindow(Handle(), showCommand);
  MarkStartStep("show");
  FormShow();
  MarkStartStep("status");
  multiGrid_.CreateList();
  MarkStartStep("grid");
  UpdateWindow(Handle());
  MarkStartStep("paint");
  WriteStartSteps();
  SetFocus(Control(IDC_SingleEdit));
}

void MainForm::ShowStatus(StatusClass status) {
  statusColour_ = ShowStatusIn(Control(IDC_StatusValue), status, fonts_.bold);
}

// Each control is made at its place for the window's DPI, with its font, in one step; nothing is
// moved or measured again before the window is first shown.
void MainForm::CreateControls() {
  MakeFonts();
  for (const auto& panel : MainFormPanels()) {
    PanelOf(panel.id).Create(Handle(), panel.id, ScaleBounds(panel.bounds, Dpi()));
  }
  MarkStartStep("panels");
  for (const auto& row : MainFormControls()) CreateControl(row);
  InstallEscapeRestore(Control(IDC_SingleEdit));
  InstallOutlinedText(Control(IDC_StatusValue));  // the yellow statuses on the light panel
  MarkStartStep("controls");
}

void MainForm::CreateControl(const ControlRow& row) {
  HWND parent = row.parent == 0 ? Handle() : PanelOf(row.parent).Handle();
  const HFONT font = fonts_.Of(row.font);
  if (row.kind != Kind::Custom) {
    CreateTableControl(row, parent, Dpi(), fonts_);
    return;
  }
  const RECT place = ScaleBounds(row.bounds, Dpi());
  if (row.id == IDC_MultiGrid) {
    MarkStartStep("pregrid");
    multiGrid_.Create(parent, row.id, place, font);
    return;
  }
  HWND control = row.id == IDC_LogoImage
                     ? CreateLogoImage(parent, row.id, place, win::Widen(MakerPageAddress()))
                     : CreateBusyAnimation(parent, row.id, place);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

Panel& MainForm::PanelOf(int id) {
  switch (id) {
    case IDC_SinglePanel:
      return singlePanel_;
    case IDC_MultiPanel:
      return multiPanel_;
    default:
      return filePanel_;
  }
}

void MainForm::MakeFonts() {
  DeleteTableFonts(fonts_);
  fonts_ = MakeTableFonts(Dpi());
}

void MainForm::ApplyLayout() {
  MakeFonts();
  for (const auto& panel : MainFormPanels()) {
    const Bounds& p = panel.bounds;
    MoveWindow(Control(panel.id), Scale(p.left), Scale(p.top), Scale(p.width), Scale(p.height),
               TRUE);
  }
  for (const auto& row : MainFormControls()) ApplyBounds(row, Control(row.id), Dpi(), fonts_);
}

// A hint shows only once the mouse has rested on a control, so the tooltip and its texts are made
// when the mouse first comes over the window: nothing of them holds up the start or the first
// paint. That first move reaches the controls after this, so the tooltip already follows it.
void MainForm::AddHints() {
  if (hints_.Handle() != nullptr) return;
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
  for (const auto& panel : MainFormPanels()) {
    if (HWND inPanel = GetDlgItem(GetDlgItem(Handle(), panel.id), id)) return inPanel;
  }
  return nullptr;
}

LRESULT MainForm::ColourControl(HDC dc, HWND control) {
  if (GetParent(control) == Handle()) {
    SetBkColor(dc, kWindowGrey);
    SetTextColor(dc, kNameColour);
    return reinterpret_cast<LRESULT>(backgroundBrush_);
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, control == Control(IDC_StatusValue) ? StatusTextColour(statusColour_)
                                                       : GetSysColor(COLOR_WINDOWTEXT));
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
  // While a run lasts only FileButton acts, however a click comes: a screen reader or an automation
  // tool clicks past the filter that keeps the mouse and keys from the other controls.
  const bool click = code == BN_CLICKED || code == STN_CLICKED;
  if (run_ != nullptr && click && id != IDC_FileButton) return;
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

LRESULT MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
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
      decimalSeparator_ = win::ReadUserDecimalSeparator();
      return 0;
    case WM_CLOSE:
      if (FormCloseQuery()) FormClose();
      return 0;
    case WM_SETCURSOR:  // from the window and, passed up, from every control in it
      AddHints();
      return FormWindow::HandleMessage(message, wParam, lParam);
    case kRunEndedMessage:
      RunEnded();
      return 0;
    case WM_TIMER:
      if (wParam == kRunTimer) RunTimerTick();
      return 0;
    case WM_ENDSESSION:
      if (wParam) EndSession();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return FormWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace sipo::ui
