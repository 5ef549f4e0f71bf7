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

// The place and the wide text of a control being made.
struct NewControl {
  const ControlRow& row;
  HWND parent;
  const std::wstring& text;
  RECT place;
};

HWND CreatePlain(const wchar_t* className, DWORD style, const NewControl& c) {
  return CreateChildControl(className, c.text.c_str(), WS_CHILD | WS_VISIBLE | style, c.parent,
                            c.row.id, c.place);
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

HWND CreateMemo(const NewControl& c) {
  HWND memo = CreatePlain(
      WC_EDITW,
      WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_CENTER | ES_AUTOVSCROLL,
      c);
  SubclassedControl::Attach<Memo>(memo);
  return memo;
}

HWND CreateOfKind(const NewControl& c) {
  const ControlRow& row = c.row;
  switch (row.kind) {
    case Kind::Label:
    case Kind::RightLabel:
      return CreatePlain(WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX, c);
    case Kind::FixedLabel:
      return CreatePlain(WC_STATICW, SS_LEFT | SS_NOPREFIX, c);
    case Kind::CentredLabel:
      return CreatePlain(WC_STATICW, SS_CENTER | SS_NOPREFIX, c);
    case Kind::Memo:
      return CreateMemo(c);
    case Kind::Edit:
      return CreatePlain(WC_EDITW, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, c);
    case Kind::Check:
      return CreatePlain(WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX, c);
    case Kind::ActionButton:
      return CreateGradientButton(c.parent, row.id, c.place, c.text, ButtonGroup::Action);
    case Kind::WindowButton:
      return CreateGradientButton(c.parent, row.id, c.place, c.text, ButtonGroup::Window);
    case Kind::Header:
      return CreateHeaderBar(c.parent, row.id, c.place, c.text);
    case Kind::FileEdit:
      return CreateFileNameEdit(c.parent, row.id, c.place);
    case Kind::Custom:
      break;
  }
  return nullptr;
}

}  // namespace

// A label's height stays the table's; a RightLabel keeps its right edge where the table puts it.
RECT TableControlPlace(const ControlRow& row, UINT dpi, HFONT font, const std::wstring& text) {
  RECT place = ScaleBounds(row.bounds, dpi);
  if (row.kind == Kind::Label) place.right = place.left + TextWidth(text, font);
  if (row.kind == Kind::RightLabel) {
    place.right = ScaleForDpi(row.bounds.left + row.bounds.width, dpi);
    place.left = place.right - TextWidth(text, font);
  }
  return place;
}

// The window is not shown yet, so the font is given without a repaint.
HWND CreateTableControl(const ControlRow& row, HWND parent, const RECT& place,
                        const std::wstring& text, HFONT font) {
  HWND control = CreateOfKind({row, parent, text, place});
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

HWND CreateTableControl(const ControlRow& row, HWND parent, UINT dpi, const TableFonts& fonts) {
  const HFONT font = fonts.Of(row.font);
  const std::wstring text = win::Widen(row.text);
  return CreateTableControl(row, parent, TableControlPlace(row, dpi, font, text), text, font);
}

void PlaceControl(HWND control, const RECT& place, HFONT font) {
  MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top,
             TRUE);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ApplyBounds(const ControlRow& row, HWND control, UINT dpi, const TableFonts& fonts) {
  const HFONT font = fonts.Of(row.font);
  PlaceControl(control, TableControlPlace(row, dpi, font, win::GetWideText(control)), font);
}

}  // namespace sipo::ui
