// real_input.cpp - keys and mouse clicks through the system's input queue.
#include "tests/ui/real_input.h"

#include <vector>

namespace sipo::uitest {

void SendKey(WORD key, WORD modifier) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD k, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = k;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (modifier != 0) add(modifier, false);
  add(key, false);
  add(key, true);
  if (modifier != 0) add(modifier, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void MoveMouse(POINT to) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(to.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(to.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
}

void ClickWithMouse(HWND control) {
  RECT rc;
  GetWindowRect(control, &rc);
  MoveMouse({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
}

}  // namespace sipo::uitest
