// panel.h - a raised panel that groups controls and hands their notifications to its parent.
#pragma once

#include "ui/base/window_base.h"

namespace sipo::ui {

class Panel : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"TPanel";
  HWND Create(HWND parent, int id, const RECT& place);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
};

}  // namespace sipo::ui
