// hints.cpp - multi-line tooltips for a window's controls.
#include "ui/controls/hints.h"

#include <commctrl.h>

#include "win/win_text.h"

namespace sipo::ui {
namespace {

constexpr int kInitialMs = 500;
constexpr int kVisibleMs = 2500;
constexpr int kMaxTipWidth = 2000;  // wide enough that only the texts' own line breaks count

}  // namespace

Hints::~Hints() {
  if (tooltip_ != nullptr) DestroyWindow(tooltip_);
}

void Hints::Create(HWND owner) {
  owner_ = owner;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  // A maximum width makes the tooltip break lines at CR LF.
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, kInitialMs);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kVisibleMs);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_RESHOW, kInitialMs / 5);
}

void Hints::AddTool(HWND control, bool dynamic) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  // A field's own text is shown over the field, under the mouse; the tip lets the mouse through
  // so that covering the pointer does not hide it again at once.
  if (dynamic) tool.uFlags |= TTF_TRANSPARENT;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  followsText_[control] = dynamic;
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Hints::Add(HWND control, std::string_view cp1250Text) {
  texts_[control] = win::Widen(cp1250Text);
  AddTool(control, false);
}

void Hints::AddTextOrHint(HWND edit, std::string_view cp1250Text) {
  texts_[edit] = win::Widen(cp1250Text);
  AddTool(edit, true);
}

bool Hints::TextOverflows(HWND edit) const {
  const std::wstring text = win::GetWideText(edit);
  HDC dc = GetDC(edit);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  RECT rc;
  SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rc));
  return extent.cx > rc.right - rc.left;
}

bool Hints::OnNotify(const NMHDR& header, LRESULT& result) {
  if (tooltip_ == nullptr || header.hwndFrom != tooltip_) return false;
  HWND control = reinterpret_cast<HWND>(header.idFrom);
  const bool ownText = followsText_[control] && TextOverflows(control);
  if (header.code == TTN_GETDISPINFOW) {
    auto& info = *reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&header));
    shown_ = ownText ? win::GetWideText(control) : texts_[control];
    info.lpszText = shown_.data();
    result = 0;
    return true;
  }
  if (header.code == TTN_SHOW && ownText) {
    // Over the field itself, so that the whole text reads as the field's continuation.
    RECT rc;
    GetWindowRect(control, &rc);
    SetWindowPos(tooltip_, nullptr, rc.left, rc.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    result = TRUE;
    return true;
  }
  return false;
}

}  // namespace sipo::ui
