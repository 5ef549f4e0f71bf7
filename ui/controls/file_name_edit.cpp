// file_name_edit.cpp - an entry field for a file name, with a browse button at its right end.
// The field is a plain edit control; the button is drawn in a strip of the edit's own frame, so
// that it needs no window of its own and the text can never run under it.
#include "ui/controls/file_name_edit.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/base/child_control.h"
#include "ui/base/subclassed_control.h"
#include "ui/controls/file_name_text.h"
#include "win/on_demand_dlls.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

constexpr DWORD kBufferChars = 32768;  // the longest name Windows allows

// Windows' wide characters are UTF-16 units, as are the portable rules'.
std::u16string Units(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

bool IsExistingFile(std::u16string_view name) {
  const DWORD attributes = GetFileAttributesW(Wide(name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(name.c_str());
  return !name.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void PutName(HWND edit, std::wstring_view name) {
  SetWindowTextW(edit, Wide(QuotedIfSpaced(Units(name))).c_str());
  const auto end = static_cast<LPARAM>(GetWindowTextLengthW(edit));
  SendMessageW(edit, EM_SETSEL, end, end);
}

// The platform's dialog; false on Cancel. A preset that the dialog refuses as a name (a field
// may hold any text) gives an empty name box instead of no dialog at all.
bool AskForFileName(HWND edit, const std::wstring& preset, const std::wstring& folder,
                    std::wstring& chosen) {
  std::vector<wchar_t> buffer(kBufferChars, L'\0');
  preset.copy(buffer.data(), buffer.size() - 1);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = GetAncestor(edit, GA_ROOT);
  dialog.lpstrFilter = L"All files (*.*)\0*.*\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = kBufferChars;
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = L"Browse";
  // The chosen file need not exist; the process's current folder stays as it was.
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  BOOL ok = win::AskOpenFileName(&dialog);
  if (!ok && win::OpenFileNameError() == FNERR_INVALIDFILENAME) {
    buffer[0] = L'\0';
    ok = win::AskOpenFileName(&dialog);
  }
  if (ok) chosen = buffer.data();
  return ok != FALSE;
}

// lastFolder is the folder of this field's last OK in the dialog, where the dialog opens when the
// field's own text names no folder.
void Browse(HWND edit, std::wstring& lastFolder) {
  const std::u16string preset = BrowsePresetName(Units(win::GetWideText(edit)), IsExistingFile);
  std::wstring folder = Wide(FolderOf(preset));
  if (!IsExistingFolder(folder)) folder = lastFolder;
  std::wstring chosen;
  if (AskForFileName(edit, Wide(preset), folder, chosen)) {
    lastFolder = Wide(FolderOf(Units(chosen)));
    PutName(edit, chosen);
  }
  SetFocus(edit);
}

void DropFile(HWND edit, HDROP drop) {
  const UINT length = win::DroppedFileName(drop, 0, nullptr, 0);
  if (length > 0) {
    std::wstring name(length + 1, L'\0');
    name.resize(win::DroppedFileName(drop, 0, name.data(), length + 1));
    PutName(edit, name);
  }
  win::FinishDrop(drop);
}

// The button's square at the right of the client area, in window coordinates.
RECT ButtonRect(HWND edit) {
  RECT window, client;
  GetWindowRect(edit, &window);
  GetClientRect(edit, &client);
  MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  return {client.right, client.top, client.right + (client.bottom - client.top), client.bottom};
}

// A push button with three dots in its middle.
void PaintButton(HWND edit, bool pressed) {
  HDC dc = GetWindowDC(edit);
  RECT button = ButtonRect(edit);
  const UINT state = (pressed ? DFCS_PUSHED : 0) | (IsWindowEnabled(edit) ? 0 : DFCS_INACTIVE);
  DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH | state);
  const int side = button.bottom - button.top;
  const int dot = std::max(1, side / 9);
  const int shift = pressed ? 1 : 0;
  const int left = button.left + (side - 5 * dot) / 2 + shift;
  const int top = button.top + (side - dot) / 2 + shift;
  for (int i = 0; i < 3; ++i) {
    const RECT square = {left + 2 * i * dot, top, left + 2 * i * dot + dot, top + dot};
    FillRect(dc, &square, GetSysColorBrush(IsWindowEnabled(edit) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  }
  ReleaseDC(edit, dc);
}

bool OverButton(HWND edit, LPARAM screenPoint) {
  RECT window;
  GetWindowRect(edit, &window);
  RECT button = ButtonRect(edit);
  OffsetRect(&button, window.left, window.top);
  return PtInRect(&button, {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)}) != FALSE;
}

// The client area gives up a square at its right end for the button.
void ReserveButtonStrip(WPARAM calcValidRects, LPARAM lParam) {
  RECT& client = calcValidRects ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                : *reinterpret_cast<RECT*>(lParam);
  const LONG side = client.bottom - client.top;
  client.right = std::max(client.left, client.right - side);
}

class FileNameField : public SubclassedControl {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_SYSKEYDOWN:
        return OnSysKeyDown(wParam, lParam);
      case WM_NCCALCSIZE:
        return OnNcCalcSize(wParam, lParam);
      case WM_NCPAINT:
        return OnNcPaint(wParam, lParam);
      case WM_ENABLE:
        return OnEnable(wParam, lParam);
      case WM_NCHITTEST:
        return OnNcHitTest(wParam, lParam);
      case WM_NCLBUTTONDOWN:
      case WM_NCLBUTTONDBLCLK:
        return OnNcButtonDown(message, wParam, lParam);
      case WM_DROPFILES:
        return OnDropFiles(reinterpret_cast<HDROP>(wParam));
      default:
        return Default(message, wParam, lParam);
    }
  }

 private:
  // Alt+Down browses, as it opens a combo box's list.
  LRESULT OnSysKeyDown(WPARAM wParam, LPARAM lParam) {
    if (wParam != VK_DOWN) return Default(WM_SYSKEYDOWN, wParam, lParam);
    Browse(Handle(), lastFolder_);
    return 0;
  }

  LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(WM_NCCALCSIZE, wParam, lParam);
    ReserveButtonStrip(wParam, lParam);
    return result;
  }

  LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(WM_NCPAINT, wParam, lParam);
    PaintButton(Handle(), pressed_);
    return result;
  }

  LRESULT OnEnable(WPARAM wParam, LPARAM lParam) {
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return Default(WM_ENABLE, wParam, lParam);
  }

  LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam) {
    if (OverButton(Handle(), lParam)) return HTBORDER;
    return Default(WM_NCHITTEST, wParam, lParam);
  }

  LRESULT OnNcButtonDown(UINT message, WPARAM wParam, LPARAM lParam) {
    if (wParam != HTBORDER || !OverButton(Handle(), lParam))
      return Default(message, wParam, lParam);
    ClickButton();
    return 0;
  }

  LRESULT OnDropFiles(HDROP drop) {
    DropFile(Handle(), drop);
    return 0;
  }

  // The browse button opens the dialog as it is pressed, as a drop-down button does, and comes
  // up again however the dialog ends.
  void ClickButton() {
    SetFocus(Handle());
    ShowPressed(true);
    struct ComeUp {
      FileNameField& field;
      ~ComeUp() { field.ShowPressed(false); }
    } comeUp{*this};
    Browse(Handle(), lastFolder_);
  }

  void ShowPressed(bool pressed) {
    pressed_ = pressed;
    PaintButton(Handle(), pressed_);
  }

  bool pressed_ = false;  // the browse button is held down
  std::wstring lastFolder_;
};

}  // namespace

HWND CreateFileNameEdit(HWND parent, int id, const RECT& place) {
  HWND edit = CreateChildControl(
      WC_EDITW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, parent, id,
      place,
      // Accepting dropped files is this style alone; the shell is loaded by the first drop.
      WS_EX_ACCEPTFILES);
  if (edit == nullptr) return nullptr;
  // The button is no tab stop: the field is, and Alt+Down browses from the keyboard.
  SubclassedControl::Attach<FileNameField>(edit);
  SetWindowPos(edit, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return edit;
}

}  // namespace sipo::ui
