// child_control.cpp - how every control of the program is created, scaled and given its font.
#include "ui/base/child_control.h"

#include <string>

#include "win/win_text.h"

namespace sipo::ui {

HWND CreateChildControl(const wchar_t* className, const wchar_t* text, DWORD style, HWND parent,
                        int id, const RECT& place, DWORD exStyle) {
  return CreateWindowExW(exStyle, className, text, style, place.left, place.top,
                         place.right - place.left, place.bottom - place.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

HFONT TableFonts::Of(FontKind kind) const {
  switch (kind) {
    case FontKind::Bold:
      return bold;
    case FontKind::Title:
      return title;
    default:
      return regular;
  }
}

int TextWidth(const std::wstring& text, HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return extent.cx > 0 ? extent.cx : 1;
}

// Labels are as wide as their text, so no font makes them cut it off.
int FitLabelWidth(HWND label, HFONT font) {
  const int width = TextWidth(win::GetWideText(label), font);
  RECT rc;
  GetClientRect(label, &rc);
  SetWindowPos(label, nullptr, 0, 0, width, rc.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return width;
}

}  // namespace sipo::ui
