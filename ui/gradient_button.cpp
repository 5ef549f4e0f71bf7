// gradient_button.cpp - the program's push button: a two-half gradient face in three states.
#include "ui/gradient_button.h"

#include <commctrl.h>

#include "ui/win_text.h"

namespace sipo::ui {

// Stand-in until the gradient face is drawn: a plain push button.
HWND CreateGradientButton(HWND parent, int id, const char* cp1250Text, ButtonGroup) {
  return CreateWindowExW(0, WC_BUTTONW, Widen(cp1250Text).c_str(),
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0, 0, 0,
                         0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace sipo::ui
