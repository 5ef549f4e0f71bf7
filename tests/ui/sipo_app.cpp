// sipo_app.cpp - drives a real Sipo.exe from a test through ordinary Win32 calls.
#include "tests/ui/sipo_app.h"

#include "tests/ui/window_probe.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace sipo::uitest {
namespace {

// The build passes the program's path on the build machine; Wine shows that tree as drive Z:.
std::wstring ProgramPath() {
  std::string path = SIPO_EXE_PATH;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return std::wstring(path.begin(), path.end());
}

}  // namespace

std::wstring NewFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"sipo-ui-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

SipoApp::SipoApp() : folder_(NewFolder()) {
  Start();
}

SipoApp::SipoApp(const std::wstring& folder) : folder_(folder), keepFolder_(true) {
  Start();
}

void SipoApp::Start() {
  const std::wstring exe = folder_ + L"\\Sipo.exe";
  if (!CopyFileW(ProgramPath().c_str(), exe.c_str(), FALSE)) {
    ADD_FAILURE() << "cannot copy the program, error " << GetLastError();
    return;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder_.c_str(), &startup, &process_)) {
    ADD_FAILURE() << "cannot start the program, error " << GetLastError();
    return;
  }
  WaitForInputIdle(process_.hProcess, 20000);
  mainWindow_ = WaitForWindow(L"TMainForm");
  if (mainWindow_ == nullptr) ADD_FAILURE() << "the main window did not appear";
  // The window shows before the last of its start (the grid's list) is made; the start has ended
  // once the program answers a message.
  Settle(mainWindow_);
}

SipoApp::~SipoApp() {
  if (process_.hProcess != nullptr) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  if (!keepFolder_) RemoveFolder(folder_);
}

HWND SipoApp::WaitForWindow(const wchar_t* className, DWORD timeoutMs) const {
  return test::WaitForVisibleWindow(process_.dwProcessId, className, nullptr, timeoutMs);
}

HWND SipoApp::Control(int id) const {
  HWND found = FindControl(mainWindow_, id);
  if (found == nullptr) ADD_FAILURE() << "no control with identifier " << id;
  return found;
}

std::wstring SipoApp::Text(int id) const {
  HWND control = Control(id);
  std::wstring text(static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1,
                    L'\0');
  const LRESULT length =
      SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void SipoApp::SetText(int id, const std::wstring& text) const {
  SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Settle(mainWindow_);
}

void SipoApp::Click(int id) const {
  PostMessageW(Control(id), BM_CLICK, 0, 0);
}

void SipoApp::Focus(int id) const {
  HWND control = Control(id);
  const DWORD theirs = GetWindowThreadProcessId(control, nullptr);
  const DWORD ours = GetCurrentThreadId();
  // Focus moves only within the active window, so the program is brought forward first; under
  // Wine that can take a moment, hence the checked retries.
  for (int attempt = 0; attempt < 40; ++attempt) {
    AttachThreadInput(ours, theirs, TRUE);
    SetForegroundWindow(mainWindow_);
    SetActiveWindow(mainWindow_);
    SetFocus(control);
    const bool focused = GetFocus() == control;
    AttachThreadInput(ours, theirs, FALSE);
    Settle(mainWindow_);
    if (focused) return;
    Sleep(50);
  }
  ADD_FAILURE() << "cannot give the focus to control " << id;
}

void SipoApp::PressKey(int id, WORD virtualKey) const {
  HWND control = Control(id);
  SendMessageW(control, WM_KEYDOWN, virtualKey, 1);
  SendMessageW(control, WM_KEYUP, virtualKey, 0xC0000001);
  Settle(mainWindow_);
}

int SipoApp::CountPixels(int id, COLORREF colour) const {
  return CountWindowPixels(Control(id), colour);
}

DWORD SipoApp::WaitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

void Settle(HWND window) {
  if (window == nullptr || !IsWindow(window)) return;
  DWORD_PTR ignored;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
}

namespace {

// Another program may hold the clipboard for a moment; a test waits for it.
bool OpenClipboardPatiently() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(20);
  }
  ADD_FAILURE() << "cannot open the clipboard";
  return false;
}

}  // namespace

std::wstring ClipboardText() {
  if (!OpenClipboardPatiently()) return L"";
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void SetClipboardText(const std::wstring& text) {
  if (!OpenClipboardPatiently()) return;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

int CountWindowPixels(HWND window, COLORREF colour) {
  int count = 0;
  for (COLORREF pixel : ScreenPixels(window)) count += pixel == colour ? 1 : 0;
  return count;
}

int WaitForPixels(HWND window, COLORREF colour, int atLeast) {
  int count = 0;
  for (int attempt = 0; attempt < 40; ++attempt) {
    count = CountWindowPixels(window, colour);
    if ((atLeast > 0 && count >= atLeast) || (atLeast == 0 && count == 0)) break;
    Sleep(50);
  }
  return count;
}

void EmptyTheClipboard() {
  if (!OpenClipboardPatiently()) return;
  EmptyClipboard();
  CloseClipboard();
}

void SetClipboardPicture() {
  if (!OpenClipboardPatiently()) return;
  EmptyClipboard();
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(nullptr, screen);
  if (!SetClipboardData(CF_BITMAP, bitmap)) DeleteObject(bitmap);
  CloseClipboard();
}

ClipboardHold::ClipboardHold() : held_(OpenClipboardPatiently()) {}

ClipboardHold::~ClipboardHold() {
  if (held_) CloseClipboard();
}

}  // namespace sipo::uitest
