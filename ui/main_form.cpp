// main_form.cpp - the main window: the single-number check and the program's close button.
#include "ui/main_form.h"

#include <array>
#include <stdexcept>

#include <commctrl.h>

#include "ui/control_ids.h"
#include "ui/decimal_separator.h"
#include "ui/escape_edit.h"
#include "ui/win_text.h"

namespace sipo::ui {
namespace {

// Sizes and positions are pixels at 96 dpi.
constexpr int kClientWidth = 379;
constexpr int kClientHeight = 655;
constexpr POINT kDesignedPosition = {240, 152};
constexpr COLORREF kBackground = 0x717679;
constexpr COLORREF kHeaderLeft = 0x717679;
constexpr COLORREF kHeaderRight = 0xC0C0C0;
constexpr COLORREF kHeaderText = 0xFFFFFF;
constexpr int kFontHeight = 11;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Czech texts are Windows-1250 bytes; the comment shows each one.
constexpr const char* kCaption =
    "Tamrix SIPO - ov\xEC\xF8"
    "en\xED \xE8\xEDsla";  // ověření čísla

enum class Kind { Label, Edit, Button, Header };

struct Bounds {
  int left, top, width, height;
};

struct ControlSpec {
  int id;
  int parent;  // 0 for the window itself, else a panel's identifier
  Kind kind;
  const char* text;
  Bounds bounds;
  bool bold;
};

// clang-format off
constexpr std::array<ControlSpec, 6> kControls = {{
    // " Jednorázové ověření"
    {IDC_SingleHeader, IDC_SinglePanel, Kind::Header, " Jednor\xE1zov\xE9 ov\xEC\xF8" "en\xED",
     {0, 0, 368, 17}, true},
    // "SIPO číslo ke kontrole :"
    {IDC_SingleLabel, IDC_SinglePanel, Kind::Label, "SIPO \xE8\xEDslo ke kontrole :",
     {16, 27, 110, 13}, false},
    {IDC_SingleEdit, IDC_SinglePanel, Kind::Edit, "", {136, 24, 121, 19}, false},
    {IDC_StatusLabel, IDC_SinglePanel, Kind::Label, "Status :", {88, 48, 38, 13}, false},
    {IDC_StatusValue, IDC_SinglePanel, Kind::Label, "", {136, 48, 68, 13}, true},
    // "Zavřít"
    {IDC_CloseButton, 0, Kind::Button, "Zav\xF8\xEDt", {237, 624, 137, 25}, true},
}};
// clang-format on

constexpr Bounds kSinglePanelBounds = {5, 96, 369, 81};

const wchar_t* WindowClassOf(Kind kind) {
  switch (kind) {
    case Kind::Edit:
      return WC_EDITW;
    case Kind::Button:
      return WC_BUTTONW;
    default:
      return WC_STATICW;
  }
}

DWORD StyleOf(Kind kind) {
  const DWORD common = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case Kind::Edit:
      return common | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    case Kind::Button:
      return common | WS_TABSTOP | BS_PUSHBUTTON;
    case Kind::Header:
      return common | SS_OWNERDRAW;
    default:
      return common | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
  }
}

}  // namespace

MainForm::MainForm() = default;

MainForm::~MainForm() {
  if (Handle() != nullptr) DestroyWindow(Handle());
  DeleteObject(font_);
  DeleteObject(boldFont_);
  DeleteObject(backgroundBrush_);
}

void MainForm::Create(HICON icon) {
  backgroundBrush_ = CreateSolidBrush(kBackground);
  RegisterClassOnce(kClassName, backgroundBrush_, icon);
  CreateFor(kClassName, Widen(kCaption).c_str(), kStyle, WS_EX_CONTROLPARENT, CW_USEDEFAULT,
            CW_USEDEFAULT, kClientWidth, kClientHeight, nullptr);
  if (Handle() == nullptr) throw std::runtime_error("Cannot create the main window");
}

void MainForm::Show(int showCommand) {
  FormShow();
  ShowWindow(Handle(), showCommand);
  UpdateWindow(Handle());
  SetFocus(Control(IDC_SingleEdit));
}

void MainForm::FormCreate() {
  decimalSeparator_ = ReadUserDecimalSeparator();
}

void MainForm::FormShow() {
  SingleEditChange();
}

bool MainForm::FormCloseQuery() {
  return true;
}

void MainForm::FormClose() {
  DestroyWindow(Handle());
}

void MainForm::SingleEditChange() {
  ShowStatus(ClassifyNumberText(GetControlText(Control(IDC_SingleEdit)), decimalSeparator_));
}

void MainForm::CloseButtonClick() {
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void MainForm::ShowStatus(StatusClass status) {
  statusColour_ = StatusColour(status);
  HWND value = Control(IDC_StatusValue);
  SetControlText(value, StatusText(status));
  FitLabelWidth(value, true);
  InvalidateRect(value, nullptr, TRUE);
}

// Labels are as wide as their text, so no font makes them cut it off.
void MainForm::FitLabelWidth(HWND label, bool bold) {
  const std::wstring text = GetWideText(label);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, bold ? boldFont_ : font_);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  RECT rc;
  GetClientRect(label, &rc);
  SetWindowPos(label, nullptr, 0, 0, extent.cx > 0 ? extent.cx : 1, rc.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The designed position and client size, at the window's own DPI.
void MainForm::PlaceAtDesign() {
  dpi_ = GetDpiForWindow(Handle());
  RECT frame = {0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, WS_EX_CONTROLPARENT, dpi_);
  SetWindowPos(Handle(), nullptr, Scale(kDesignedPosition.x), Scale(kDesignedPosition.y),
               frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainForm::CreateControls() {
  singlePanel_.Create(Handle(), IDC_SinglePanel);
  for (const auto& spec : kControls) {
    HWND parent = spec.parent == 0 ? Handle() : Control(spec.parent);
    HWND control =
        CreateWindowExW(0, WindowClassOf(spec.kind), Widen(spec.text).c_str(), StyleOf(spec.kind),
                        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (spec.kind == Kind::Header) SetControlText(control, spec.text);
  }
  InstallEscapeRestore(Control(IDC_SingleEdit));
  MakeFonts();
  ApplyLayout();
}

void MainForm::MakeFonts() {
  DeleteObject(font_);
  DeleteObject(boldFont_);
  auto make = [this](int weight) {
    return CreateFontW(-Scale(kFontHeight), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                       EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  };
  font_ = make(FW_NORMAL);
  boldFont_ = make(FW_BOLD);
}

void MainForm::ApplyLayout() {
  const Bounds& p = kSinglePanelBounds;
  MoveWindow(Control(IDC_SinglePanel), Scale(p.left), Scale(p.top), Scale(p.width), Scale(p.height),
             TRUE);
  for (const auto& spec : kControls) {
    HWND control = Control(spec.id);
    const Bounds& b = spec.bounds;
    MoveWindow(control, Scale(b.left), Scale(b.top), Scale(b.width), Scale(b.height), TRUE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(spec.bold ? boldFont_ : font_),
                 TRUE);
    if (spec.kind == Kind::Label) FitLabelWidth(control, spec.bold);
  }
}

HWND MainForm::Control(int id) const {
  if (HWND direct = GetDlgItem(Handle(), id)) return direct;
  return GetDlgItem(GetDlgItem(Handle(), IDC_SinglePanel), id);
}

void MainForm::DrawHeader(const DRAWITEMSTRUCT& item) {
  const RECT& rc = item.rcItem;
  TRIVERTEX vertices[2] = {
      {rc.left, rc.top, static_cast<COLOR16>(GetRValue(kHeaderLeft) << 8),
       static_cast<COLOR16>(GetGValue(kHeaderLeft) << 8),
       static_cast<COLOR16>(GetBValue(kHeaderLeft) << 8), 0},
      {rc.right, rc.bottom, static_cast<COLOR16>(GetRValue(kHeaderRight) << 8),
       static_cast<COLOR16>(GetGValue(kHeaderRight) << 8),
       static_cast<COLOR16>(GetBValue(kHeaderRight) << 8), 0},
  };
  GRADIENT_RECT gradient = {0, 1};
  GradientFill(item.hDC, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_H);
  const std::wstring text = GetWideText(item.hwndItem);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, kHeaderText);
  HGDIOBJ old = SelectObject(item.hDC, boldFont_);
  RECT textRect = rc;
  DrawTextW(item.hDC, text.c_str(), -1, &textRect,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(item.hDC, old);
}

LRESULT MainForm::ColourControl(HDC dc, HWND control) {
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc,
               control == Control(IDC_StatusValue) ? statusColour_ : GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void MainForm::OnCommand(int id, int code) {
  if (id == IDC_SingleEdit && code == EN_CHANGE) SingleEditChange();
  if (id == IDC_CloseButton && code == BN_CLICKED) CloseButtonClick();
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
    case WM_DRAWITEM:
      DrawHeader(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
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
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

}  // namespace sipo::ui
