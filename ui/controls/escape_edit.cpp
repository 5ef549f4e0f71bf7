// escape_edit.cpp - Escape in an entry field puts back the text it held when it got the focus.
#include "ui/controls/escape_edit.h"

#include <string>
#include <utility>

#include "ui/base/subclassed_control.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

constexpr UINT kKeepText = WM_APP + 20;

class EscapeEdit : public SubclassedControl {
 public:
  explicit EscapeEdit(std::wstring saved) : saved_(std::move(saved)) {}

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_SETFOCUS:
        saved_ = win::GetWideText(Handle());
        return Default(message, wParam, lParam);
      case kKeepText:
        if (GetFocus() == Handle()) saved_ = win::GetWideText(Handle());
        return 0;
      case WM_GETDLGCODE:
        return OnGetDlgCode(wParam, lParam);
      case WM_KEYDOWN:
        return OnKeyDown(wParam, lParam);
      case WM_CHAR:
        if (wParam == 0x1B) return 0;  // no beep for the Escape character
        return Default(message, wParam, lParam);
      default:
        return Default(message, wParam, lParam);
    }
  }

 private:
  // Keeps Escape from the dialog navigation so that the field sees it.
  LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    const LRESULT code = Default(WM_GETDLGCODE, wParam, lParam);
    return msg != nullptr && msg->wParam == VK_ESCAPE ? code | DLGC_WANTMESSAGE : code;
  }

  LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) {
    if (wParam != VK_ESCAPE) return Default(WM_KEYDOWN, wParam, lParam);
    SetWindowTextW(Handle(), saved_.c_str());
    SendMessageW(Handle(), EM_SETSEL, saved_.size(), static_cast<LPARAM>(saved_.size()));
    return 0;
  }

  std::wstring saved_;  // the text the field held when it last got the focus
};

}  // namespace

void InstallEscapeRestore(HWND edit) {
  SubclassedControl::Attach<EscapeEdit>(
      edit, GetFocus() == edit ? win::GetWideText(edit) : std::wstring());
}

void KeepTextForEscape(HWND edit) {
  SendMessageW(edit, kKeepText, 0, 0);
}

}  // namespace sipo::ui
