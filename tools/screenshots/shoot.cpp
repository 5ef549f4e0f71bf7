// shoot.cpp - puts Sipo.exe in the states the README shows and saves each as a bitmap of the
// screen around its window. Runs under Wine (or Windows) next to a copy of the program.
// Usage: shoot SIPO_EXE OUT_DIR
//   (writes main.bmp, run-in-progress.bmp, file-run.bmp, floating-window.bmp and about-window.bmp)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <string>

#include "tests/support/window_finder.h"
#include "ui/base/control_ids.h"

namespace {

using namespace sipo::ui;

// The screenshots wait up to 20 s for each window, as a slow first start under Wine may need.
HWND WaitFor(DWORD pid, const wchar_t* windowClass, const wchar_t* caption = nullptr) {
  return sipo::test::WaitForVisibleWindow(pid, windowClass, caption);
}

HWND Control(HWND window, int id) {
  return sipo::test::FindControl(window, id);
}

void SetText(HWND window, int id, const wchar_t* text) {
  SendMessageW(Control(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Saves the screen inside rect (with a margin) as a 24-bit bitmap file.
void SaveScreen(RECT rect, const std::wstring& path) {
  InflateRect(&rect, 8, 8);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((width * 3 + 3) / 4) * 4, size = stride * height;
  BITMAPFILEHEADER file{
      0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
      sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  std::ofstream out(path.c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
  out.write(static_cast<const char*>(bits), size);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

RECT RectOf(HWND window) {
  RECT rc{};
  GetWindowRect(window, &rc);
  return rc;
}

void Settle(HWND window) {
  DWORD_PTR ignored;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(700);
}

// A few lines of a typical export: number and name, separated by semicolons.
void WriteSampleInput(const std::wstring& path) {
  std::ofstream out(path.c_str(), std::ios::binary);
  out << "1234567897;Novak\r\n1234567890;Svoboda\r\n0700000007;Dvorak\r\nabc;Cerny\r\n";
}

void PutOnClipboard(const wchar_t* text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  const std::size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

// Opens a window with one of the main window's buttons, places it and saves it; then closes it.
bool ShootWindow(HWND main, DWORD pid, int button, const wchar_t* windowClass,
                 const std::wstring& path) {
  PostMessageW(Control(main, button), BM_CLICK, 0, 0);
  HWND window = WaitFor(pid, windowClass);
  if (window == nullptr) return false;
  SetWindowPos(window, nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Settle(window);
  SaveScreen(RectOf(window), path);
  PostMessageW(window, WM_CLOSE, 0, 0);
  for (int attempt = 0; attempt < 200 && IsWindow(window); ++attempt) Sleep(25);
  Settle(main);
  return true;
}

// A long run: the input is a pipe that this driver feeds slowly, so that the run is caught while
// FileButton shows how many lines it has read. Ending the pipe ends the run.
bool ShootRunInProgress(HWND main, DWORD pid, const std::wstring& path) {
  const wchar_t* const pipeName = L"\\\\.\\pipe\\sipo-screenshot";
  HANDLE pipe = CreateNamedPipeW(pipeName, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                 4096, 4096, 0, nullptr);
  if (pipe == INVALID_HANDLE_VALUE) return false;
  SetText(main, IDC_FileInputEdit, pipeName);
  PostMessageW(Control(main, IDC_FileButton), BM_CLICK, 0, 0);
  HWND confirm = WaitFor(pid, L"#32770", L"Confirm");
  if (confirm == nullptr) return false;
  PostMessageW(GetDlgItem(confirm, IDYES), BM_CLICK, 0, 0);
  if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) return false;
  const char lines[] = "1234567897;Novak\r\n1234567890;Svoboda\r\n0700000007;Dvorak\r\n";
  for (int round = 0; round < 12; ++round) {
    DWORD written = 0;
    WriteFile(pipe, lines, sizeof(lines) - 1, &written, nullptr);
    Sleep(200);
  }
  Settle(main);
  SaveScreen(RectOf(main), path);
  CloseHandle(pipe);
  HWND done = WaitFor(pid, L"#32770", L"Information");
  if (done == nullptr) return false;
  PostMessageW(GetDlgItem(done, IDOK), BM_CLICK, 0, 0);
  for (int attempt = 0; attempt < 200 && IsWindow(done); ++attempt) Sleep(25);
  SetText(main, IDC_FileInputEdit, L"vstup.txt");
  Settle(main);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: shoot SIPO_EXE OUT_DIR\n");
    return 2;
  }
  const std::wstring exe = argv[1], out = argv[2];
  const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  WriteSampleInput(folder + L"\\vstup.txt");
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    std::fprintf(stderr, "cannot start the program\n");
    return 1;
  }
  HWND main = WaitFor(process.dwProcessId, L"TMainForm");
  if (main == nullptr) return 1;
  SetWindowPos(main, nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetText(main, IDC_SingleEdit, L"1234567897");
  SetText(main, IDC_FileInputEdit, L"vstup.txt");
  SetText(main, IDC_FileOKOutputEdit, L"spravne.txt");
  SetText(main, IDC_FileBadOutputEdit, L"chybne.txt");
  SetText(main, IDC_ColumnEdit, L"0");
  SetText(main, IDC_DelimiterEdit, L";");
  Settle(main);
  SaveScreen(RectOf(main), out + L"\\main.bmp");
  if (!ShootRunInProgress(main, process.dwProcessId, out + L"\\run-in-progress.bmp")) return 1;

  PostMessageW(Control(main, IDC_FileButton), BM_CLICK, 0, 0);
  HWND confirm = WaitFor(process.dwProcessId, L"#32770", L"Confirm");
  if (confirm == nullptr) return 1;
  PostMessageW(GetDlgItem(confirm, IDYES), BM_CLICK, 0, 0);
  HWND done = WaitFor(process.dwProcessId, L"#32770", L"Information");
  if (done == nullptr) return 1;
  Settle(main);
  RECT both = RectOf(main), box = RectOf(done);
  UnionRect(&both, &both, &box);
  SaveScreen(both, out + L"\\file-run.bmp");
  PostMessageW(GetDlgItem(done, IDOK), BM_CLICK, 0, 0);
  Sleep(300);

  // The floating window checking a number just copied, and the About window.
  PutOnClipboard(L"1234567897");
  if (!ShootWindow(main, process.dwProcessId, IDC_FloatingClipButton, L"TFloatingForm",
                   out + L"\\floating-window.bmp") ||
      !ShootWindow(main, process.dwProcessId, IDC_AboutButton, L"TAboutForm",
                   out + L"\\about-window.bmp")) {
    return 1;
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  return 0;
}
