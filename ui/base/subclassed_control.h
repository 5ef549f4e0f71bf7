// subclassed_control.h - a standard control that the program changes by subclassing it, as a C++
// object that the control owns, with the one place where such a control's errors are caught.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>

namespace sipo::ui {

// Each kind of subclassed control derives from this and answers its messages in HandleMessage,
// one short member per message; what a member throws is shown in the error box, as a window
// procedure shows it, and the program carries on.
class SubclassedControl {
 public:
  virtual ~SubclassedControl() = default;
  SubclassedControl(const SubclassedControl&) = delete;
  SubclassedControl& operator=(const SubclassedControl&) = delete;

  // Makes a T from args and gives it to control, which owns it from then on and destroys it with
  // itself; the T sees every message for control before the control's own procedure. False (and
  // no T kept) when control is null or cannot be subclassed.
  template <class T, class... Args>
  static bool Attach(HWND control, Args&&... args) {
    if (control == nullptr) return false;
    return Install(control, std::make_unique<T>(std::forward<Args>(args)...));
  }

  HWND Handle() const { return hwnd_; }

 protected:
  SubclassedControl() = default;

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The control's own handling of a message.
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static bool Install(HWND control, std::unique_ptr<SubclassedControl> object);
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR refData);

  HWND hwnd_ = nullptr;
};

}  // namespace sipo::ui
