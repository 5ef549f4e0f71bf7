// floating_form.cpp - the small always-on-top window that checks whatever was copied last.
#include "ui/forms/floating_form.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "ui/base/contrast_colours.h"
#include "ui/base/control_ids.h"
#include "ui/base/designed_colours.h"
#include "ui/base/form_fonts.h"
#include "ui/base/status_value.h"
#include "ui/controls/escape_edit.h"
#include "win/clipboard.h"
#include "win/decimal_separator.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

// Sizes and positions are pixels at 96 dpi.
constexpr int kClientWidth = 260;
constexpr int kClientHeight = 48;
constexpr POINT kDesignedPosition = {240, 147};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
constexpr FormDesign kDesign = {
    kDesignedPosition, {kClientWidth, kClientHeight}, kStyle, kExStyle, "TFloatingForm"};
constexpr const wchar_t* kCaption = L"SIPO kontrola";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerInterval = 300;

// A spreadsheet ends a copied cell with a line end; one line end at the very end (CR LF, LF or
// CR) is dropped so that the cell is checked as the number it holds. Nothing else is trimmed: a
// blank before the number, or a second line, still counts.
void DropFinalLineEnd(std::string& text) {
  if (text.ends_with("\r\n")) {
    text.resize(text.size() - 2);
  } else if (text.ends_with('\n') || text.ends_with('\r')) {
    text.pop_back();
  }
}

using enum Kind;
using enum FontKind;

// clang-format off
constexpr ControlRow kControls[] = {
    // "SIPO číslo ke kontrole :"
    {IDC_SingleLabel, 0, Label, "SIPO \xE8\xEDslo ke kontrole :", {8, 11, 110, 13}, Regular},
    {IDC_SingleEdit, 0, Edit, "", {128, 8, 121, 19}, Regular},
    {IDC_StatusLabel, 0, Label, "Status :", {80, 32, 38, 13}, Regular},
    {IDC_StatusValue, 0, Label, "", {128, 32, 68, 13}, Bold},
};
// clang-format on

// The one floating window; the object outlives its window until the next opening or the end of
// the program, when a window still open goes without its closing steps.
std::unique_ptr<FloatingForm>& Instance() {
  static std::unique_ptr<FloatingForm> instance;
  return instance;
}

bool openFlag = false;

// Starts the timer again when a tick ends, however it ends, so a failing tick never leaves the
// window deaf to the clipboard.
class TimerRestart {
 public:
  explicit TimerRestart(HWND window) : window_(window) {}
  ~TimerRestart() { SetTimer(window_, kTimerId, kTimerInterval, nullptr); }
  TimerRestart(const TimerRestart&) = delete;
  TimerRestart& operator=(const TimerRestart&) = delete;

 private:
  HWND window_;
};

}  // namespace

bool FloatingFormOpen() {
  return openFlag;
}

void ShowFloatingForm(const FormContext& context) {
  if (openFlag && Instance() != nullptr) {
    Instance()->Raise();
    ShowWindow(context.mainWindow, SW_MINIMIZE);
    return;
  }
  Instance() = std::make_unique<FloatingForm>(context);
  Instance()->Create();
  Instance()->Show();
}

FloatingForm::FloatingForm(const FormContext& context) : FormWindow(kDesign), context_(context) {}

FloatingForm::~FloatingForm() {
  if (Handle() != nullptr) DestroyWindow(Handle());
  DeleteTableFonts(fonts_);
  DeleteObject(backgroundBrush_);
}

// Not owned by the main window: an owned window would vanish whenever its owner is minimised.
void FloatingForm::Create() {
  backgroundBrush_ = CreateSolidBrush(kWindowGrey);
  RegisterClassOnce(kClassName, backgroundBrush_, nullptr);
  CreateFor(kClassName, kCaption, kStyle, kExStyle, CW_USEDEFAULT, CW_USEDEFAULT, kClientWidth,
            kClientHeight, nullptr);
  if (Handle() == nullptr) throw std::runtime_error("Cannot create the floating window");
}

void FloatingForm::Show() {
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
  SetFocus(Control(IDC_SingleEdit));
}

void FloatingForm::Raise() const {
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- Event handlers ----

void FloatingForm::FormCreate() {
  openFlag = true;
  decimalSeparator_ = win::ReadUserDecimalSeparator();
  RestorePlace(context_.store, context_.settingsUnavailable);
  ShowWindow(context_.mainWindow, SW_MINIMIZE);
  StartTimer();
}

// A clipboard held by another program skips the tick without a word; the next comes 300 ms
// after this one ends, so ticks never pile up.
void FloatingForm::TimerTimer() {
  StopTimer();
  TimerRestart restart(Handle());
  std::optional<std::string> text = win::TryReadClipboardText(Handle());
  if (!text) return;
  DropFinalLineEnd(*text);
  HWND edit = Control(IDC_SingleEdit);
  // The same text again is left alone, so the caret and a selection in the field stay put.
  if (win::GetControlText(edit) != *text) win::SetControlText(edit, *text);
  const StatusClass status = ClassifyNumberText(*text, decimalSeparator_);
  ShowStatus(status);
  if (status == StatusClass::Valid || status == StatusClass::Invalid) Raise();
}

// A position that cannot be stored is shown, and the window closes all the same: left open, it
// would no longer follow the clipboard and the main window would stay minimised. The error box
// comes once the main window is back, over it.
void FloatingForm::FormClose() {
  StopTimer();
  std::string failure;
  try {
    SavePlace(context_.store, context_.settingsUnavailable);
  } catch (const std::exception& error) {
    failure = error.what();
  }
  DestroyWindow(Handle());
  openFlag = false;
  ShowWindow(context_.mainWindow, SW_RESTORE);
  if (!failure.empty()) ShowErrorBox(context_.mainWindow, failure);
}

// ---- Window plumbing ----

void FloatingForm::StartTimer() {
  SetTimer(Handle(), kTimerId, kTimerInterval, nullptr);
}

void FloatingForm::StopTimer() {
  KillTimer(Handle(), kTimerId);
}

void FloatingForm::ShowStatus(StatusClass status) {
  statusColour_ = ShowStatusIn(Control(IDC_StatusValue), status, fonts_.bold);
}

// Each control at its place for the window's DPI, with its font, in one step.
void FloatingForm::CreateControls() {
  MakeFonts();
  for (const auto& row : kControls) CreateTableControl(row, Handle(), Dpi(), fonts_);
  InstallEscapeRestore(Control(IDC_SingleEdit));
}

void FloatingForm::ApplyLayout() {
  MakeFonts();
  for (const auto& row : kControls) ApplyBounds(row, Control(row.id), Dpi(), fonts_);
}

void FloatingForm::MakeFonts() {
  DeleteTableFonts(fonts_);
  fonts_ = MakeTableFonts(Dpi());
}

LRESULT FloatingForm::ColourControl(HDC dc, HWND control) {
  SetBkColor(dc, kWindowGrey);
  SetTextColor(dc,
               control == Control(IDC_StatusValue) ? StatusTextColour(statusColour_) : kTextOnGrey);
  return reinterpret_cast<LRESULT>(backgroundBrush_);
}

LRESULT FloatingForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimerId) TimerTimer();
      return 0;
    case WM_CTLCOLORSTATIC:
      return ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(Control(IDC_SingleEdit));
      return 0;
    case WM_SETTINGCHANGE:
      decimalSeparator_ = win::ReadUserDecimalSeparator();
      return 0;
    case WM_CLOSE:
      FormClose();
      return 0;
    // Also when the program ends with the window open: no closing steps then.
    case WM_DESTROY:
      StopTimer();
      return 0;
    default:
      return FormWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace sipo::ui
