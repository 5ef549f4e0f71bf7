// busy_animator.h - the file run's busy picture, which moves while the run goes on.
#pragma once

#include <windows.h>

namespace sipo::ui {

// Created hidden at place; the owner shows or hides it.
HWND CreateBusyAnimation(HWND parent, int id, const RECT& place);
// Starts the frames' advance from the first frame, and stops it where it stands.
void StartBusyAnimation(HWND animation);
void StopBusyAnimation(HWND animation);

}  // namespace sipo::ui
