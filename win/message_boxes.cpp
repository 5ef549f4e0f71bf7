// message_boxes.cpp - the file run's confirmation and information boxes, in English on every
// Windows.
#include "win/message_boxes.h"

#include "win/win_text.h"

namespace sipo::win {
namespace {

// The system box would translate its buttons into the user's language; a hook puts the fixed
// texts on them as the box is activated.
thread_local HHOOK tHook = nullptr;

LRESULT CALLBACK SetButtonTexts(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    SetDlgItemTextW(box, IDYES, L"&Yes");
    SetDlgItemTextW(box, IDNO, L"&No");
    SetDlgItemTextW(box, IDOK, L"OK");
  }
  return CallNextHookEx(tHook, code, wParam, lParam);
}

// The text is converted before the hook goes in, and nothing between the two calls throws, so the
// hook never outlives the box.
int ShowBox(HWND owner, std::string_view cp1250Message, const wchar_t* caption, UINT type) {
  const std::wstring message = Widen(cp1250Message);
  tHook = SetWindowsHookExW(WH_CBT, SetButtonTexts, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxW(owner, message.c_str(), caption, type);
  if (tHook != nullptr) UnhookWindowsHookEx(tHook);
  tHook = nullptr;
  return answer;
}

}  // namespace

bool AskConfirmation(HWND owner, std::string_view cp1250Message) {
  return ShowBox(owner, cp1250Message, L"Confirm", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) ==
         IDYES;
}

void ShowInformation(HWND owner, std::string_view cp1250Message) {
  ShowBox(owner, cp1250Message, L"Information", MB_OK | MB_ICONINFORMATION);
}

}  // namespace sipo::win
