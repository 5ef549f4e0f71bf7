// subclassed_control.cpp - a subclassed standard control as a C++ object that the control owns.
// The program's only calls of SetWindowSubclass are here.
#include "ui/base/subclassed_control.h"

#include <commctrl.h>

#include "ui/base/window_base.h"

namespace sipo::ui {

// The object's address tells its subclass from any other on the same control.
bool SubclassedControl::Install(HWND control, std::unique_ptr<SubclassedControl> object) {
  object->hwnd_ = control;
  const auto id = reinterpret_cast<UINT_PTR>(object.get());
  if (!SetWindowSubclass(control, Procedure, id, reinterpret_cast<DWORD_PTR>(object.get()))) {
    return false;
  }
  object.release();  // owned by the control from now on; Procedure frees it at WM_NCDESTROY
  return true;
}

LRESULT SubclassedControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(hwnd_, message, wParam, lParam);
}

// Errors never cross a frame that Windows owns: whatever a member throws is shown here and the
// program carries on. The object goes before the control's last message reaches the control.
LRESULT CALLBACK SubclassedControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR refData) {
  auto* self = reinterpret_cast<SubclassedControl*>(refData);
  if (message == WM_NCDESTROY) {
    {
      const std::unique_ptr<SubclassedControl> owned(self);  // given back by the control
      RemoveWindowSubclass(hwnd, Procedure, id);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    ShowCaughtError(hwnd);
  }
  return 0;
}

}  // namespace sipo::ui
