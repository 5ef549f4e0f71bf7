// header_bar.cpp - the bar across the top of a panel: its title in white bold on a gradient.
#include "ui/controls/header_bar.h"

#include <commctrl.h>

#include <string>

#include "ui/base/child_control.h"
#include "ui/base/contrast_colours.h"
#include "ui/base/designed_colours.h"
#include "ui/base/subclassed_control.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

constexpr COLORREF kRight = 0xC0C0C0;

TRIVERTEX Vertex(LONG x, LONG y, COLORREF colour) {
  return {x,
          y,
          static_cast<COLOR16>(GetRValue(colour) << 8),
          static_cast<COLOR16>(GetGValue(colour) << 8),
          static_cast<COLOR16>(GetBValue(colour) << 8),
          0};
}

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT rc;
  GetClientRect(hwnd, &rc);
  // In high contrast: one flat system colour and its matching text colour.
  const bool contrast = HighContrastOn();
  const ContrastFace colours =
      contrast ? ContrastHeaderBar() : ContrastFace{kWindowGrey, kTextOnGrey, kRight};
  const COLORREF right = contrast ? colours.face : kRight;
  TRIVERTEX vertices[2] = {Vertex(rc.left, rc.top, colours.face),
                           Vertex(rc.right, rc.bottom, right)};
  GRADIENT_RECT gradient = {0, 1};
  // gdi32's own entry, which msimg32's GradientFill forwards to: one library fewer at the start.
  GdiGradientFill(dc, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_H);
  const std::wstring text = win::GetWideText(hwnd);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours.text);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
  DrawTextW(dc, text.c_str(), -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(hwnd, &ps);
}

// A static whose face the program draws itself.
class HeaderBar : public SubclassedControl {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT:
        Paint(Handle());
        return 0;
      case WM_ERASEBKGND:
        return 1;
      default:
        return Default(message, wParam, lParam);
    }
  }
};

}  // namespace

HWND CreateHeaderBar(HWND parent, int id, const RECT& place, const std::wstring& text) {
  HWND bar = CreateChildControl(WC_STATICW, text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                                parent, id, place);
  SubclassedControl::Attach<HeaderBar>(bar);
  return bar;
}

}  // namespace sipo::ui
