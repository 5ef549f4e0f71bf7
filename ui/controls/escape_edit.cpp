// escape_edit.cpp - Escape in an entry field puts back the text it held when it got the focus.
#include "ui/controls/escape_edit.h"

#include <commctrl.h>

#include <string>

#include "win/win_text.h"

namespace sipo::ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;

LRESULT CALLBACK EscapeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR refData) {
  auto* saved = reinterpret_cast<std::wstring*>(refData);
  switch (message) {
    case WM_SETFOCUS:
      *saved = win::GetWideText(hwnd);
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
  if (GetFocus() == edit) *saved = win::GetWideText(edit);
  SetWindowSubclass(edit, EscapeProc, kSubclassId, reinterpret_cast<DWORD_PTR>(saved));
}

}  // namespace sipo::ui
