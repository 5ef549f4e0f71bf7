// control_table.cpp - a window's controls described in one table, created and placed from it.
#include "ui/controls/control_table.h"

#include <commctrl.h>

#include <string>

#include "ui/base/subclassed_control.h"
#include "ui/controls/file_name_edit.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/header_bar.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

HWND CreatePlain(const wchar_t* className, DWORD style, const ControlRow& row, HWND parent) {
  return CreateChildControl(className, win::Widen(row.text).c_str(), WS_CHILD | WS_VISIBLE | style,
                            parent, row.id);
}

// A multi-line edit asks for every key, Tab included, and hands Tab to its parent only when that
// is a dialog; in a plain window the focus would stay in it for good. The memo is read-only, so it
// gives Tab and Shift+Tab back to the window's navigation and keeps the other keys.
class Memo : public SubclassedControl {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_GETDLGCODE) return OnGetDlgCode(wParam, lParam);
    return Default(message, wParam, lParam);
  }

 private:
  LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    const LRESULT code = Default(WM_GETDLGCODE, wParam, lParam);
    const bool tab = msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) &&
                     msg->wParam == VK_TAB;
    return tab ? code & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB) : code;
  }
};

HWND CreateMemo(const ControlRow& row, HWND parent) {
  HWND memo = CreatePlain(
      WC_EDITW,
      WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_CENTER | ES_AUTOVSCROLL,
      row, parent);
  SubclassedControl::Attach<Memo>(memo);
  return memo;
}

}  // namespace

HWND CreateTableControl(const ControlRow& row, HWND parent) {
  switch (row.kind) {
    case Kind::Label:
    case Kind::RightLabel:
      return CreatePlain(WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX, row, parent);
    case Kind::FixedLabel:
      return CreatePlain(WC_STATICW, SS_LEFT | SS_NOPREFIX, row, parent);
    case Kind::CentredLabel:
      return CreatePlain(WC_STATICW, SS_CENTER | SS_NOPREFIX, row, parent);
    case Kind::Memo:
      return CreateMemo(row, parent);
    case Kind::Edit:
      return CreatePlain(WC_EDITW, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, row, parent);
    case Kind::Check:
      return CreatePlain(WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX, row, parent);
    case Kind::ActionButton:
      return CreateGradientButton(parent, row.id, row.text, ButtonGroup::Action);
    case Kind::WindowButton:
      return CreateGradientButton(parent, row.id, row.text, ButtonGroup::Window);
    case Kind::Header:
      return CreateHeaderBar(parent, row.id, row.text);
    case Kind::FileEdit:
      return CreateFileNameEdit(parent, row.id);
    case Kind::Custom:
      break;
  }
  return nullptr;
}

void ApplyBounds(const ControlRow& row, HWND control, UINT dpi, const TableFonts& fonts) {
  const Bounds& b = row.bounds;
  MoveWindow(control, ScaleForDpi(b.left, dpi), ScaleForDpi(b.top, dpi), ScaleForDpi(b.width, dpi),
             ScaleForDpi(b.height, dpi), TRUE);
  const HFONT font = fonts.Of(row.font);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (row.kind == Kind::Label) FitLabelWidth(control, font);
  if (row.kind == Kind::RightLabel) {
    const int right = ScaleForDpi(b.left + b.width, dpi);
    const int width = FitLabelWidth(control, font);
    SetWindowPos(control, nullptr, right - width, ScaleForDpi(b.top, dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace sipo::ui
