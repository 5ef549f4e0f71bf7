// real_input.h - keys and mouse clicks through the system's input queue, so that the program's
// message loop (and its dialog navigation) sees them as it sees a user's.
#pragma once

#include <windows.h>

namespace sipo::uitest {

// Presses and releases key, with modifier (VK_MENU, VK_SHIFT, ...) held around it unless 0. Keys
// go to the active window.
void SendKey(WORD key, WORD modifier = 0);
// Moves the mouse to a point of the screen.
void MoveMouse(POINT to);
// A left click in the middle of the control.
void ClickWithMouse(HWND control);

}  // namespace sipo::uitest
