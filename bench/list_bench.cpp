// list_bench.cpp - times the clipboard list of a running Sipo.exe under Wine: an import of N
// copied lines (classified and the grid drawn), scrolling the grid to its end, and an export of
// the N rows; beside each, the same clipboard text read or put by this program itself, the least
// any program pays for it. Prints one line per figure: best of REPEAT runs in milliseconds and
// the ratio to its baseline.
// Usage: list_bench [LINES] [REPEAT]   (default 100000 and 5)
#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace {

using Clock = std::chrono::steady_clock;

double BestMs(int repeat, const std::function<void()>& prepare, const std::function<void()>& run) {
  double best = 1e30;
  for (int i = 0; i < repeat; ++i) {
    prepare();
    const auto start = Clock::now();
    run();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return best;
}

// A list as copied from a spreadsheet: valid, invalid, incomplete numbers and some words.
std::wstring MakeList(int lines) {
  static const wchar_t* const samples[] = {L"1234567897", L"1234567890", L"9876543213",
                                           L"12345",      L"abc",        L"98765432"};
  std::wstring text;
  text.reserve(static_cast<std::size_t>(lines) * 12);
  for (int i = 0; i < lines; ++i) text.append(samples[i % 6]).append(L"\r\n");
  return text;
}

std::wstring ReadClipboard() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void Press(HWND button) {
  DWORD_PTR ignored;
  SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_BLOCK, 600000, &ignored);
}

// Paints now what is invalid: Windows sends WM_PAINT to the grid and waits for it.
void DrawNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Report(const char* what, double ms, double baselineMs, const char* baseline) {
  std::printf("%-34s %9.1f ms   %7.1f x %s (%.1f ms)\n", what, ms, ms / baselineMs, baseline,
              baselineMs);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace sipo::uitest;
  const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int repeat = argc > 2 ? std::atoi(argv[2]) : 5;
  SipoApp app;
  if (app.MainWindow() == nullptr) return 1;
  HWND importButton = app.Control(sipo::ui::IDC_MultiImportButton);
  HWND exportButton = app.Control(sipo::ui::IDC_MultiExportButton);
  HWND grid = app.Control(sipo::ui::IDC_MultiGrid);
  HWND list = GridList(grid);
  const std::wstring copied = MakeList(lines);
  const auto putCopied = [&] { SetClipboardText(copied); };
  const auto none = [] {};

  const double read = BestMs(repeat, putCopied, [] { ReadClipboard(); });
  const double import = BestMs(repeat, putCopied, [&] {
    Press(importButton);
    DrawNow(grid);
  });
  const long rows = static_cast<long>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  const double scroll = BestMs(
      repeat, [&] { SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE), DrawNow(grid); },
      [&] {
        SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), FALSE);
        DrawNow(grid);
      });
  const double redraw = BestMs(repeat, none, [&] { DrawNow(grid); });

  Press(exportButton);
  const std::wstring exported = ReadClipboard();
  const double put = BestMs(repeat, none, [&] { SetClipboardText(exported); });
  const double exportMs = BestMs(repeat, none, [&] { Press(exportButton); });
  const bool same = ReadClipboard() == exported;

  std::printf("lines %d, grid rows %ld, export %zu characters%s\n", lines, rows, exported.size(),
              same ? "" : " (EXPORT DIFFERS)");
  Report("import + grid drawn", import, read, "clipboard read");
  Report("grid to its last row, drawn", scroll, redraw, "grid redrawn");
  Report("export", exportMs, put, "clipboard put");
  PostMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
  app.WaitForExit();
  return same && rows == lines ? 0 : 1;
}
