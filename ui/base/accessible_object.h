// accessible_object.h - what a screen reader is told about an owner-drawn control.
#pragma once

#include <windows.h>
// oleacc.h needs windows.h before it; it gives the ROLE_SYSTEM_ values.
#include <oleacc.h>

#include <string>
#include <utility>

namespace sipo::ui {

// The name, role and more that a control's drawing shows but its standard class cannot tell.
struct AccessibleLook {
  explicit AccessibleLook(LONG role, std::wstring name = {}) : role(role), name(std::move(name)) {}

  LONG role;                    // ROLE_SYSTEM_...
  std::wstring name;            // empty: the control's window text as it is when asked
  std::wstring value;           // empty: the standard object's (a link's address, for instance)
  std::wstring defaultAction;   // empty: the standard object's
  WORD actionNotification = 0;  // sent to the parent as WM_COMMAND by the default action
};

// Answers WM_GETOBJECT: the control's client object is the system's standard object with look's
// name and role. Any other object, or a failure, gives 0: pass the message on then.
LRESULT AnswerAccessibleObject(HWND control, WPARAM wParam, LPARAM lParam,
                               const AccessibleLook& look);

}  // namespace sipo::ui
