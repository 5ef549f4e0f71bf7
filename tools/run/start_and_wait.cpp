// start_and_wait.cpp - starts a program, waits for its visible main window, tells the caller, and
// closes the window as a user would when the caller asks.
// Usage: start_and_wait EXE CLASS STATE_FILE CLOSE_FILE
// Starts EXE in its own folder and waits up to a minute for a visible top-level window of CLASS;
// then writes "shown" to STATE_FILE, so that a script outside Wine knows there is something to
// see. From then on, once CLOSE_FILE exists it asks the window to close (WM_CLOSE, as a click on
// the close box) and, when the program ends by itself with status 0, writes "closed" to
// STATE_FILE: a Wine virtual desktop does not pass its program's exit status on. A program that
// ends on its own (its user closed it) ends this one too. Exits 0 when all went well.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/support/window_finder.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 60000;  // Wine's first start in a new prefix is slow
constexpr DWORD kCloseTimeoutMs = 20000;
constexpr DWORD kPollMs = 200;

bool WriteState(const wchar_t* path, const char* text) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "start_and_wait: cannot write %ls\n", path);
    return false;
  }
  DWORD written = 0;
  const DWORD size = static_cast<DWORD>(std::strlen(text));
  const bool ok = WriteFile(file, text, size, &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

// Waits until the program ends (false) or the close file appears (true).
bool WaitForCloseRequest(HANDLE process, const wchar_t* closeFile) {
  while (WaitForSingleObject(process, kPollMs) == WAIT_TIMEOUT) {
    if (GetFileAttributesW(closeFile) != INVALID_FILE_ATTRIBUTES) return true;
  }
  return false;
}

// Asks the window to close and gives the program its time to save its settings and end.
bool CloseAndWait(HWND window, HANDLE process) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process, kCloseTimeoutMs) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "start_and_wait: the program did not end after WM_CLOSE\n");
    TerminateProcess(process, 1);
    return false;
  }
  DWORD status = 1;
  GetExitCodeProcess(process, &status);
  if (status != 0) std::fprintf(stderr, "start_and_wait: the program ended with %lu\n", status);
  return status == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: start_and_wait EXE CLASS STATE_FILE CLOSE_FILE\n");
    return 1;
  }
  std::wstring exe = argv[1];
  std::replace(exe.begin(), exe.end(), L'/', L'\\');
  const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    std::fprintf(stderr, "start_and_wait: cannot start %ls (error %lu)\n", exe.c_str(),
                 GetLastError());
    return 1;
  }
  CloseHandle(process.hThread);
  HWND window =
      sipo::test::WaitForVisibleWindow(process.dwProcessId, argv[2], nullptr, kWindowTimeoutMs);
  if (window == nullptr) std::fprintf(stderr, "start_and_wait: no window of class %ls\n", argv[2]);
  bool ok = window != nullptr && WriteState(argv[3], "shown\n");
  if (!ok) {
    TerminateProcess(process.hProcess, 1);
  } else if (WaitForCloseRequest(process.hProcess, argv[4])) {
    ok = CloseAndWait(window, process.hProcess) && WriteState(argv[3], "closed\n");
  }
  CloseHandle(process.hProcess);
  return ok ? 0 : 1;
}
