// about_form.cpp - the modal About window: version, information, licence and contact.
#include "ui/forms/about_form.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "program/maker.h"
#include "program/version_text.h"
#include "ui/base/control_ids.h"
#include "ui/base/form_fonts.h"
#include "ui/controls/control_table.h"
#include "ui/forms/about_texts.h"
#include "win/on_demand_dlls.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

// Sizes and positions are pixels at 96 dpi.
constexpr int kClientWidth = 516;
constexpr int kClientHeight = 586;
constexpr POINT kDesignedPosition = {244, 155};
constexpr COLORREF kTopColour = 0x008000;
constexpr COLORREF kInfoColour = 0x800000;
constexpr COLORREF kEmailColour = 0x0000FF;
constexpr int kEmailFontHeight = 13;
constexpr int kEmailGap = 8;  // between the e-mail address and the close button
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr FormDesign kDesign = {
    kDesignedPosition, {kClientWidth, kClientHeight}, kStyle, kExStyle, "TAboutForm"};
constexpr const wchar_t* kCaption = L"O programu";

using enum Kind;
using enum FontKind;

// In tab order: the close button first, then the licence.
// clang-format off
constexpr ControlRow kControls[] = {
    // "Zavřít"
    {IDC_CloseButton, 0, WindowButton, "Zav\xF8\xEDt", {373, 556, 137, 25}, Bold},
    // "Program pro ověřování čísel SIPO"
    {IDC_TopLabel, 0, CentredLabel, "Program pro ov\xEC\xF8ov\xE1n\xED \xE8\xEDsel SIPO",
     {8, 8, 497, 23}, Title},
    {IDC_VersionValue, 0, CentredLabel, "", {0, 40, 513, 13}, Bold},
    {IDC_InfoLabel, 0, CentredLabel, "", {8, 88, 474, 52}, Regular},
    {IDC_LicenceMemo, 0, Memo, "", {8, 152, 497, 281}, Regular},
    {IDC_AboutLabel, 0, CentredLabel, "", {8, 448, 497, 91}, Regular},
    // "kontaktní emailová adresa :"
    {IDC_EmailLabel, 0, Label, "kontaktn\xED emailov\xE1 adresa :", {112, 562, 132, 13}, Regular},
    {IDC_EmailValue, 0, Custom, "", {256, 560, 78, 16}, Bold},
};
// clang-format on

// Labels whose height follows their wrapped text.
constexpr int kGrowingLabels[] = {IDC_InfoLabel, IDC_AboutLabel};

std::optional<FileVersion> ReadOwnFileVersion() {
  wchar_t path[MAX_PATH];
  if (GetModuleFileNameW(nullptr, path, MAX_PATH) == 0) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(path, 0, size, block.data())) return std::nullopt;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
      info == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return FileVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                     HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

void FitLabelHeight(HWND label, HFONT font) {
  const std::wstring text = win::GetWideText(label);
  RECT rc;
  GetClientRect(label, &rc);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, font);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
            DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  RECT window;
  GetWindowRect(label, &window);
  SetWindowPos(label, nullptr, 0, 0, window.right - window.left, rc.bottom - rc.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The other windows of this thread that take input now; the modal window disables them.
struct WindowSearch {
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK AddEnabledWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  if (hwnd != search->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    search->found.push_back(hwnd);
  }
  return TRUE;
}

std::vector<HWND> EnabledThreadWindows(HWND except) {
  WindowSearch search{except, {}};
  EnumThreadWindows(GetCurrentThreadId(), AddEnabledWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

void ShowAboutForm(const FormContext& context) {
  AboutForm form(context);
  form.Create();
  form.ShowModal();
}

AboutForm::AboutForm(const FormContext& context) : FormWindow(kDesign), context_(context) {}

AboutForm::~AboutForm() {
  if (Handle() != nullptr) DestroyWindow(Handle());
  DeleteTableFonts(fonts_);
  DeleteObject(linkFont_);
}

void AboutForm::Create() {
  const HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(context_.mainWindow, GCLP_HICON));
  RegisterClassOnce(kClassName, GetSysColorBrush(COLOR_BTNFACE), icon);
  CreateFor(kClassName, kCaption, kStyle, kExStyle, CW_USEDEFAULT, CW_USEDEFAULT, kClientWidth,
            kClientHeight, context_.mainWindow);
  if (Handle() == nullptr) throw std::runtime_error("Cannot create the About window");
}

void AboutForm::ShowModal() {
  const std::vector<HWND> disabled = EnabledThreadWindows(Handle());
  for (HWND window : disabled) EnableWindow(window, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
  SetFocus(Control(IDC_CloseButton));
  RunModalLoop();
  // The owner takes input again before this window goes, so Windows activates it, not another
  // program.
  for (HWND window : disabled) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  if (Handle() != nullptr) DestroyWindow(Handle());
}

// Tab, Enter and Space work as in a dialog; a quit request ends the loop and goes on to the
// program's own loop.
void AboutForm::RunModalLoop() {
  MSG msg;
  while (!closed_ && Handle() != nullptr) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (got < 0) return;
    if (IsDialogMessageW(Handle(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// ---- Event handlers ----

void AboutForm::FormCreate() {
  RestorePlace(context_.store, context_.settingsUnavailable);
  win::SetControlText(Control(IDC_VersionValue), VersionLabelText(ReadOwnFileVersion()));
}

void AboutForm::CloseButtonClick() {
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// A position that cannot be stored is shown, and the window closes all the same: left open, it
// would keep the whole program waiting.
void AboutForm::FormClose() {
  try {
    SavePlace(context_.store, context_.settingsUnavailable);
  } catch (const std::exception& error) {
    ShowErrorBox(Handle(), error.what());
  }
  closed_ = true;
}

// No mail program for "mailto:" is no error the user needs to hear about.
void AboutForm::EmailValueClick() {
  const std::string address = std::string("mailto:") + kContactEmail;
  win::ShellOpen(win::Widen(address));
}

// ---- Window plumbing ----

void AboutForm::CreateControls() {
  for (const auto& row : kControls) {
    if (row.kind != Custom) {
      CreateTableControl(row, Handle());
      continue;
    }
    // The e-mail address: a clickable label with a hand cursor.
    CreateChildControl(WC_STATICW, win::Widen(kContactEmail).c_str(),
                       WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX, Handle(), row.id);
  }
  win::SetControlText(Control(IDC_InfoLabel), kAboutInfoText);
  win::SetControlText(Control(IDC_LicenceMemo), kAboutLicenceText);
  win::SetControlText(Control(IDC_AboutLabel), kAboutNoticeText);
  ApplyLayout();
}

void AboutForm::ApplyLayout() {
  DeleteTableFonts(fonts_);
  DeleteObject(linkFont_);
  fonts_ = MakeTableFonts(Dpi());
  linkFont_ = MakeTahoma(kEmailFontHeight, Dpi(), true, true);
  for (const auto& row : kControls) ApplyBounds(row, Control(row.id), Dpi(), fonts_);
  HWND email = Control(IDC_EmailValue);
  SendMessageW(email, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), TRUE);
  FitLabelWidth(email, linkFont_);
  for (int id : kGrowingLabels) FitLabelHeight(Control(id), fonts_.regular);
  KeepEmailClearOfButton();
}

// The address is set at build time; a longer one than the layout was drawn for moves the label
// pair left rather than run under the close button.
void AboutForm::KeepEmailClearOfButton() {
  RECT email, button;
  GetWindowRect(Control(IDC_EmailValue), &email);
  GetWindowRect(Control(IDC_CloseButton), &button);
  const int overlap = email.right - (button.left - Scale(kEmailGap));
  if (overlap <= 0) return;
  for (int id : {IDC_EmailLabel, IDC_EmailValue}) {
    HWND label = Control(id);
    RECT rc;
    GetWindowRect(label, &rc);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rc), 2);
    SetWindowPos(label, nullptr, std::max(0, static_cast<int>(rc.left) - overlap), rc.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

LRESULT AboutForm::ColourControl(HDC dc, HWND control) {
  COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
  switch (GetDlgCtrlID(control)) {
    case IDC_TopLabel:
      colour = kTopColour;
      break;
    case IDC_InfoLabel:
      colour = kInfoColour;
      break;
    case IDC_EmailValue:
      colour = kEmailColour;
      break;
    case IDC_LicenceMemo:
      // Read-only, yet as readable as any text to select and copy.
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      SetTextColor(dc, colour);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    default:
      break;
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, colour);
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// Enter reaches the window as IDOK while the close button has the focus (a focused multi-line
// text keeps Enter to itself); Escape comes as IDCANCEL and, there being no cancel button, does
// nothing.
void AboutForm::OnCommand(int id, int code) {
  if (id == IDOK || (id == IDC_CloseButton && code == BN_CLICKED)) {
    CloseButtonClick();
  } else if (id == IDC_EmailValue && code == STN_CLICKED) {
    EmailValueClick();
  }
}

LRESULT AboutForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Control(IDC_EmailValue)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      return Default(message, wParam, lParam);
    case WM_CLOSE:
      FormClose();
      return 0;
    default:
      return FormWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace sipo::ui
