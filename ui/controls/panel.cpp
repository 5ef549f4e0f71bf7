// panel.cpp - a raised panel that groups controls and hands their notifications to its parent.
#include "ui/controls/panel.h"

namespace sipo::ui {

HWND Panel::Create(HWND parent, int id, const RECT& place) {
  RegisterClassOnce(kClassName, GetSysColorBrush(COLOR_BTNFACE), nullptr);
  HWND hwnd =
      CreateFor(kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                place.left, place.top, place.right - place.left, place.bottom - place.top, parent);
  SetWindowLongPtrW(hwnd, GWLP_ID, id);
  return hwnd;
}

void Panel::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT rc;
  GetClientRect(Handle(), &rc);
  DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
  EndPaint(Handle(), &ps);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    // The window that owns the panel handles what its controls report.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetParent(Handle()), message, wParam, lParam);
    default:
      return Default(message, wParam, lParam);
  }
}

}  // namespace sipo::ui
