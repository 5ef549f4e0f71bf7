// window_probe.cpp - what a test reads off another program's windows.
#include "tests/ui/window_probe.h"

#include <commctrl.h>

#include <cstdint>
#include <fstream>
#include <iterator>

namespace sipo::uitest {

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

RECT RectIn(HWND control, HWND window) {
  RECT rc{};
  GetWindowRect(control, &rc);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

std::wstring WindowText(HWND window) {
  wchar_t text[4096] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                      nullptr);
  return text;
}

HWND WaitForDialog(DWORD processId, const wchar_t* caption, DWORD timeoutMs) {
  return test::WaitForVisibleWindow(processId, L"#32770", caption, timeoutMs);
}

std::wstring MessageOf(HWND box) {
  return WindowText(GetDlgItem(box, 0xFFFF));
}

void PressDialogButton(HWND box, int buttonId) {
  PostMessageW(GetDlgItem(box, buttonId), BM_CLICK, 0, 0);
  for (int attempt = 0; attempt < 200 && IsWindow(box) && IsWindowVisible(box); ++attempt)
    Sleep(25);
}

void MouseAway() {
  SetCursorPos(1270, 1010);
  Sleep(300);
}

std::wstring HintOf(DWORD processId, HWND control, RECT* shownAt) {
  RECT rc;
  GetWindowRect(control, &rc);
  // Near the left end, clear of a file-name field's browse button.
  SetCursorPos(rc.left + 6, (rc.top + rc.bottom) / 2);
  for (int attempt = 0; attempt < 60; ++attempt) {
    Sleep(50);
    if (HWND tip = FindVisibleWindow(processId, L"tooltips_class32", nullptr)) {
      if (shownAt != nullptr) GetWindowRect(tip, shownAt);
      return WindowText(tip);
    }
  }
  return L"";
}

// The screen's pixels inside a window's rectangle, row by row, as 0x00BBGGRR.
std::vector<COLORREF> ScreenPixels(HWND window) {
  RECT rc;
  GetWindowRect(window, &rc);
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  std::vector<COLORREF> result;
  if (width <= 0 || height <= 0) return result;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rc.left, rc.top, SRCCOPY);
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) {
    const std::uint32_t p = pixels[i];  // 0x00RRGGBB in a DIB
    result.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return result;
}

HWND GridList(HWND grid) {
  return test::FindChildOfClass(grid, WC_LISTVIEWW);
}

int GridHeaderHeight(HWND grid) {
  RECT rc{};
  GetWindowRect(reinterpret_cast<HWND>(SendMessageW(GridList(grid), LVM_GETHEADER, 0, 0)), &rc);
  return rc.bottom - rc.top;
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace sipo::uitest
