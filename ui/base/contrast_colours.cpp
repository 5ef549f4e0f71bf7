// contrast_colours.cpp - the colours the owner-drawn parts use while Windows runs a high-contrast
// theme: the theme's system colours in place of the designed ones.
#include "ui/base/contrast_colours.h"

namespace sipo::ui {
namespace {

BOOL CALLBACK ForwardToChild(HWND child, LPARAM param) {
  const auto* msg = reinterpret_cast<const MSG*>(param);
  SendMessageW(child, msg->message, msg->wParam, msg->lParam);
  return TRUE;
}

}  // namespace

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The mouse shows in the border, a press in the face; the face and its text are always one of
// the theme's pairs that are made to be read together.
ContrastFace ContrastButtonFace(bool hot, bool pressed) {
  if (pressed) {
    return {GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT),
            GetSysColor(COLOR_BTNTEXT)};
  }
  return {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT),
          GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_BTNTEXT)};
}

ContrastFace ContrastHeaderBar() {
  return {GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT),
          GetSysColor(COLOR_HIGHLIGHT)};
}

COLORREF StatusTextColour(COLORREF designed) {
  return HighContrastOn() ? GetSysColor(COLOR_BTNTEXT) : designed;
}

COLORREF GridRowBackground(COLORREF designed) {
  return HighContrastOn() ? GetSysColor(COLOR_WINDOW) : designed;
}

void FollowColourChange(HWND topLevel, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_SYSCOLORCHANGE && message != WM_SETTINGCHANGE) return;
  if ((GetWindowLongW(topLevel, GWL_STYLE) & WS_CHILD) != 0) return;
  if (message == WM_SYSCOLORCHANGE) {
    const MSG msg{topLevel, message, wParam, lParam, 0, {}};
    EnumChildWindows(topLevel, ForwardToChild, reinterpret_cast<LPARAM>(&msg));
  }
  RedrawWindow(topLevel, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace sipo::ui
