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
#include "win/callback_guard.h"
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
  const DWORD size = win::FileVersionInfoSize(path);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> block(size);
  if (!win::FileVersionInfo(path, size, block.data())) return std::nullopt;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!win::QueryVersionValue(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
      info == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return FileVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                     HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

bool Grows(int id) {
  return std::find(std::begin(kGrowingLabels), std::end(kGrowingLabels), id) !=
         std::end(kGrowingLabels);
}

const ControlRow& RowOf(int id) {
  return *std::find_if(std::begin(kControls), std::end(kControls),
                       [id](const ControlRow& row) { return row.id == id; });
}

// The height of text centred and wrapped at width.
int WrappedTextHeight(const std::wstring& text, HFONT font, int width) {
  RECT rc = {0, 0, width, 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
            DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return rc.bottom - rc.top;
}

// The other windows of this thread that take input now; the modal window disables them.
struct WindowSearch {
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK AddEnabledWindow(HWND hwnd, LPARAM param) {
  return win::GuardCallback(FALSE, [&] {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    if (hwnd != search->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
      search->found.push_back(hwnd);
    }
    return TRUE;
  });
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

// Each control is made with its text, at its place for that text, in one step.
void AboutForm::CreateControls() {
  MakeFonts();
  for (const auto& row : kControls) {
    const std::wstring text = TextOf(row);
    const RECT place = PlaceOf(row, text);
    if (row.kind != Custom) {
      CreateTableControl(row, Handle(), place, text, FontOf(row));
      continue;
    }
    // The e-mail address: a clickable label with a hand cursor.
    HWND email = CreateChildControl(WC_STATICW, text.c_str(),
                                    WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX, Handle(),
                                    row.id, place);
    SendMessageW(email, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), FALSE);
  }
}

void AboutForm::ApplyLayout() {
  MakeFonts();
  for (const auto& row : kControls) {
    HWND control = Control(row.id);
    PlaceControl(control, PlaceOf(row, win::GetWideText(control)), FontOf(row));
  }
}

void AboutForm::MakeFonts() {
  DeleteTableFonts(fonts_);
  DeleteObject(linkFont_);
  fonts_ = MakeTableFonts(Dpi());
  linkFont_ = MakeTahoma(kEmailFontHeight, Dpi(), true, true);
}

std::wstring AboutForm::TextOf(const ControlRow& row) const {
  switch (row.id) {
    case IDC_VersionValue:
      return win::Widen(VersionLabelText(ReadOwnFileVersion()));
    case IDC_InfoLabel:
      return win::Widen(kAboutInfoText);
    case IDC_LicenceMemo:
      return win::Widen(kAboutLicenceText);
    case IDC_AboutLabel:
      return win::Widen(kAboutNoticeText);
    case IDC_EmailValue:
      return win::Widen(kContactEmail);
    default:
      return win::Widen(row.text);
  }
}

HFONT AboutForm::FontOf(const ControlRow& row) const {
  return row.id == IDC_EmailValue ? linkFont_ : fonts_.Of(row.font);
}

// The information labels are as high as their wrapped text, the address as wide as its text.
RECT AboutForm::PlaceOf(const ControlRow& row, const std::wstring& text) const {
  const HFONT font = FontOf(row);
  RECT place = TableControlPlace(row, Dpi(), font, text);
  if (row.id == IDC_EmailValue) place.right = place.left + TextWidth(text, font);
  if (Grows(row.id))
    place.bottom = place.top + WrappedTextHeight(text, font, place.right - place.left);
  if (row.id == IDC_EmailLabel || row.id == IDC_EmailValue) {
    const int shift = std::min(static_cast<int>(place.left), EmailOverlap());
    OffsetRect(&place, -shift, 0);
  }
  return place;
}

// The address is set at build time; a longer one than the layout was drawn for moves the label
// pair left rather than run under the close button.
int AboutForm::EmailOverlap() const {
  const ControlRow& row = RowOf(IDC_EmailValue);
  const int right =
      ScaleBounds(row.bounds, Dpi()).left + TextWidth(win::Widen(kContactEmail), linkFont_);
  const int buttonLeft = ScaleBounds(RowOf(IDC_CloseButton).bounds, Dpi()).left;
  return std::max(0, right - (buttonLeft - Scale(kEmailGap)));
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
