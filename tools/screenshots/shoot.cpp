// shoot.cpp - puts Sipo.exe in the states the README and the guide show and saves each as a
// bitmap of the screen around its window. Runs under Wine (or Windows) next to a copy of the
// program.
// Usage: shoot SIPO_EXE OUT_DIR SLOW_INPUT
//   SLOW_INPUT is the file name (in the program's folder) of a FIFO that this driver writes to
//   slowly, so that a run on it is caught in progress; someone else must hold it open.
//   Writes main.bmp, run-in-progress.bmp, file-run.bmp, clipboard-list.bmp, floating-window.bmp
//   and about-window.bmp.
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

// Saves the screen inside rect (with a margin around it) as a 24-bit bitmap file.
void SaveScreen(RECT rect, const std::wstring& path, int margin = 8) {
  InflateRect(&rect, margin, margin);
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

// Lines of a typical export: number, name and amount, separated by semicolons (Windows-1250).
const char kSampleLines[] =
    "1234567897;Nov\xE1k Jan;1250\r\n4125986313;Svobodov\xE1 Marie;980\r\n"
    "5530187428;Dvo\xF8\xE1k Petr;1430\r\n1234567;\xC8"
    "ern\xFD Karel;760\r\n"
    "9064213757;Proch\xE1zkov\xE1 Eva;1105\r\n0700000001;Vesel\xFD Tom\xE1\x9A;640\r\n";

void WriteSampleInput(const std::wstring& path) {
  std::ofstream out(path.c_str(), std::ios::binary);
  for (int copy = 0; copy < 3; ++copy) out << kSampleLines;
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

// Opens a window with one of the main window's buttons, places it and saves it alone (no margin,
// so nothing of the window behind shows); then closes it.
bool ShootWindow(HWND main, DWORD pid, int button, const wchar_t* windowClass,
                 const std::wstring& path) {
  PostMessageW(Control(main, button), BM_CLICK, 0, 0);
  HWND window = WaitFor(pid, windowClass);
  if (window == nullptr) return false;
  SetWindowPos(window, nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Settle(window);
  SaveScreen(RectOf(window), path, 0);
  PostMessageW(window, WM_CLOSE, 0, 0);
  for (int attempt = 0; attempt < 200 && IsWindow(window); ++attempt) Sleep(25);
  Settle(main);
  return true;
}

std::wstring ButtonText(HWND main) {
  wchar_t text[128] = {};
  GetWindowTextW(Control(main, IDC_FileButton), text, 128);
  return text;
}

// Clicks OK in the program's next information box and waits until it has gone.
bool DismissInformation(DWORD pid) {
  HWND box = WaitFor(pid, L"#32770", L"Information");
  if (box == nullptr) return false;
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  for (int attempt = 0; attempt < 200 && IsWindow(box); ++attempt) Sleep(25);
  return true;
}

// Starts a file run and answers its confirmation.
bool StartRun(HWND main, DWORD pid) {
  PostMessageW(Control(main, IDC_FileButton), BM_CLICK, 0, 0);
  HWND confirm = WaitFor(pid, L"#32770", L"Confirm");
  if (confirm == nullptr) return false;
  PostMessageW(GetDlgItem(confirm, IDYES), BM_CLICK, 0, 0);
  return true;
}

// A long run: the input is a FIFO with an ordinary file name that this driver feeds slowly, so
// that the run is caught while FileButton counts the lines it has read. The picture taken, the
// button stops the run (lines still coming, so that no read is left waiting), which leaves the
// outputs as they were.
bool ShootRunInProgress(HWND main, DWORD pid, const std::wstring& folder, const std::wstring& input,
                        const std::wstring& path) {
  SetText(main, IDC_FileInputEdit, input.c_str());
  if (!StartRun(main, pid)) return false;
  HANDLE fifo = CreateFileW((folder + L"\\" + input).c_str(), GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (fifo == INVALID_HANDLE_VALUE) return false;
  auto feed = [&](int rounds) {
    for (int round = 0; round < rounds; ++round) {
      DWORD written = 0;
      WriteFile(fifo, kSampleLines, sizeof(kSampleLines) - 1, &written, nullptr);
      Sleep(100);
    }
  };
  feed(25);
  Settle(main);
  SaveScreen(RectOf(main), path);
  PostMessageW(Control(main, IDC_FileButton), BM_CLICK, 0, 0);
  for (int attempt = 0; attempt < 40 && ButtonText(main).rfind(L"P\u0159eru\u0161it", 0) == 0;
       ++attempt) {
    feed(1);
  }
  CloseHandle(fifo);
  return DismissInformation(pid);
}

// The clipboard list with every status and colour: valid, invalid, incomplete, not a number and
// an empty line; beside it a single number half typed.
bool ShootClipboardList(HWND main, const std::wstring& path) {
  // A number half typed: its yellow status on the light panel, with the outline that makes it
  // readable there.
  SetText(main, IDC_SingleEdit, L"12345");
  PutOnClipboard(
      L"1234567897\r\n4125986313\r\n1234567890\r\n12345678\r\nNov\u00E1k\r\n\r\n"
      L"9064213757\r\n");
  PostMessageW(Control(main, IDC_MultiImportButton), BM_CLICK, 0, 0);
  Settle(main);
  SaveScreen(RectOf(main), path);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: shoot SIPO_EXE OUT_DIR SLOW_INPUT\n");
    return 2;
  }
  const std::wstring exe = argv[1], out = argv[2], slowInput = argv[3];
  const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  WriteSampleInput(folder + L"\\platby-SIPO-2024-06.csv");
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    std::fprintf(stderr, "cannot start the program\n");
    return 1;
  }
  const DWORD pid = process.dwProcessId;
  HWND main = WaitFor(pid, L"TMainForm");
  if (main == nullptr) return 1;
  SetWindowPos(main, nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  // The window as a first start shows it: the program's folder is new, so no settings file, and
  // nothing is typed yet.
  Settle(main);
  SaveScreen(RectOf(main), out + L"\\main.bmp");

  SetText(main, IDC_SingleEdit, L"1234567897");
  SetText(main, IDC_FileInputEdit, L"platby-SIPO-2024-06.csv");
  SetText(main, IDC_FileOKOutputEdit, L"platby-spravne.csv");
  SetText(main, IDC_FileBadOutputEdit, L"platby-chybne.csv");
  SetText(main, IDC_ColumnEdit, L"0");
  SetText(main, IDC_DelimiterEdit, L";");
  if (!ShootRunInProgress(main, pid, folder, slowInput, out + L"\\run-in-progress.bmp")) {
    std::fprintf(stderr, "the run in progress failed\n");
    return 1;
  }

  // A whole run on an ordinary export: the closing box with its counts beside the window.
  SetText(main, IDC_FileInputEdit, L"platby-SIPO-2024-06.csv");
  if (!StartRun(main, pid)) return 1;
  HWND done = WaitFor(pid, L"#32770", L"Information");
  if (done == nullptr) return 1;
  Settle(main);
  Settle(done);
  RECT both = RectOf(main), box = RectOf(done);
  UnionRect(&both, &both, &box);
  SaveScreen(both, out + L"\\file-run.bmp");
  PostMessageW(GetDlgItem(done, IDOK), BM_CLICK, 0, 0);
  for (int attempt = 0; attempt < 200 && IsWindow(done); ++attempt) Sleep(25);
  Settle(main);

  if (!ShootClipboardList(main, out + L"\\clipboard-list.bmp")) return 1;

  // The floating window checking a number copied in part (its yellow status on the grey), and
  // the About window.
  PutOnClipboard(L"1234567");
  if (!ShootWindow(main, pid, IDC_FloatingClipButton, L"TFloatingForm",
                   out + L"\\floating-window.bmp") ||
      !ShootWindow(main, pid, IDC_AboutButton, L"TAboutForm", out + L"\\about-window.bmp")) {
    return 1;
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  return 0;
}
