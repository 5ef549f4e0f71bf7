// sipo_drive.cpp - small commands that drive a running Sipo.exe from scripts (screenshots):
//   sipo_drive click CLASS ID   press the button ID of the visible window of class CLASS
//   sipo_drive rect CLASS       print "WIDTHxHEIGHT+LEFT+TOP" of that window, frame included
//   sipo_drive copy TEXT        put TEXT on the clipboard as Unicode text
//   sipo_drive wait CLASS       wait (up to 20 s) until such a window shows
//   sipo_drive close CLASS      ask that window to close, as its title-bar button does
// Exit status 1 when the window or the control is not there.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

HWND FindVisible(const wchar_t* className) {
  for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w != nullptr;
       w = FindWindowExW(nullptr, w, className, nullptr)) {
    if (IsWindowVisible(w)) return w;
  }
  return nullptr;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ControlSearch*>(param);
  if (GetDlgCtrlID(hwnd) != search->id) return TRUE;
  search->found = hwnd;
  return FALSE;
}

int Click(const wchar_t* className, int id) {
  HWND window = FindVisible(className);
  ControlSearch search{id, nullptr};
  if (window != nullptr) EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return 1;
  PostMessageW(search.found, BM_CLICK, 0, 0);
  return 0;
}

int Rect(const wchar_t* className) {
  HWND window = FindVisible(className);
  if (window == nullptr) return 1;
  RECT rc;
  GetWindowRect(window, &rc);
  std::printf("%ldx%ld+%ld+%ld\n", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
  return 0;
}

int Copy(const wchar_t* text) {
  if (!OpenClipboard(nullptr)) return 1;
  EmptyClipboard();
  const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(memory), text, bytes);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  return 0;
}

int Wait(const wchar_t* className) {
  for (int attempt = 0; attempt < 400; ++attempt) {
    if (FindVisible(className) != nullptr) return 0;
    Sleep(50);
  }
  return 1;
}

int Close(const wchar_t* className) {
  HWND window = FindVisible(className);
  if (window == nullptr) return 1;
  PostMessageW(window, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"click" && argc == 4) return Click(argv[2], _wtoi(argv[3]));
  if (command == L"rect" && argc == 3) return Rect(argv[2]);
  if (command == L"copy" && argc == 3) return Copy(argv[2]);
  if (command == L"wait" && argc == 3) return Wait(argv[2]);
  if (command == L"close" && argc == 3) return Close(argv[2]);
  std::fputs("usage: sipo_drive click CLASS ID | rect CLASS | copy TEXT | wait CLASS | close CLASS\n", stderr);
  return 2;
}
