// contrast_colours.h - the colours the owner-drawn parts use while Windows runs a high-contrast
// theme: the theme's system colours in place of the designed ones.
#pragma once

#include <windows.h>

namespace sipo::ui {

// True while the user's high-contrast theme is on; asked at every paint, so that a theme
// switched while the program runs shows at the next repaint.
bool HighContrastOn();

struct ContrastFace {
  COLORREF face, text, border;
};

// A push button's face in high contrast: normal, under the mouse, or pressed.
ContrastFace ContrastButtonFace(bool hot, bool pressed);
// A panel's header bar in high contrast: background and title.
ContrastFace ContrastHeaderBar();
// A status text: its designed colour, or in high contrast the theme's text colour (the status's
// words carry its meaning).
COLORREF StatusTextColour(COLORREF designed);
// A grid row's background: its designed colour, or in high contrast the theme's window colour.
COLORREF GridRowBackground(COLORREF designed);

// Sent to the program's top-level windows after a theme change: every control repaints, and the
// common controls hear of the new system colours.
void FollowColourChange(HWND topLevel, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace sipo::ui
