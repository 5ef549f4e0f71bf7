// escape_edit.cpp - Escape in an entry field puts back the text it held when it got the focus.
#include "ui/escape_edit.h"

#include <commctrl.h>

#include <string>

namespace sipo::ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

LRESULT CALLBACK EscapeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR refData) {
  auto* saved = reinterpret_cast<std::wstring*>(refData);
  switch (message) {
    case WM_SETFOCUS:
      *saved = WindowText(hwnd);
      break;
    case WM_GETDLGCODE:
      // Keeps Escape from the dialog navigation so that the field sees it.
      if (lParam != 0 && reinterpret_cast<MSG*>(lParam)->wParam == VK_ESCAPE) {
        return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTMESSAGE;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        SetWindowTextW(hwnd, saved->c_str());
        SendMessageW(hwnd, EM_SETSEL, saved->size(), static_cast<LPARAM>(saved->size()));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == 0x1B) return 0;  // no beep for the Escape character
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, EscapeProc, kSubclassId);
      delete saved;
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void InstallEscapeRestore(HWND edit) {
  auto* saved = new std::wstring;
  if (GetFocus() == edit) *saved = WindowText(edit);
  SetWindowSubclass(edit, EscapeProc, kSubclassId, reinterpret_cast<DWORD_PTR>(saved));
}

}  // namespace sipo::ui
