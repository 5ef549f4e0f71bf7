// start_timer.cpp - times how long programs take from their start to a visible main window.
// Usage: start_timer RUNS NAME=EXE=CLASS...   Runs the programs in turn, RUNS times each, each in
// the folder of its executable, and prints the median and the fastest time of each in ms, and the
// ratio of each median to the last program's.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/window_finder.h"

namespace {

struct Program {
  std::wstring name, exe, windowClass;
  std::vector<double> ms;
};

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds from CreateProcess to the visible window, or a negative value on failure.
double TimeOneStart(const Program& program) {
  const std::wstring folder = program.exe.substr(0, program.exe.find_last_of(L'\\'));
  std::wstring commandLine = L"\"" + program.exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    return -1;
  }
  HWND found = nullptr;
  do {
    found = sipo::test::FindVisibleWindow(process.dwProcessId, program.windowClass.c_str());
    QueryPerformanceCounter(&now);
  } while (found == nullptr && Seconds(start, now) < 30 && (Sleep(1), true));
  const double ms = found != nullptr ? Seconds(start, now) * 1000 : -1;
  if (found != nullptr) PostMessageW(found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ms;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: start_timer RUNS NAME=EXE=CLASS...\n");
    return 2;
  }
  const int runs = _wtoi(argv[1]);
  std::vector<Program> programs;
  for (int i = 2; i < argc; ++i) {
    const std::wstring argument = argv[i];
    const auto first = argument.find(L'='), second = argument.rfind(L'=');
    std::wstring exe = argument.substr(first + 1, second - first - 1);
    std::replace(exe.begin(), exe.end(), L'/', L'\\');
    programs.push_back({argument.substr(0, first), exe, argument.substr(second + 1), {}});
  }
  for (int run = 0; run < runs; ++run) {
    for (auto& program : programs) program.ms.push_back(TimeOneStart(program));
  }
  for (auto& program : programs) {
    std::sort(program.ms.begin(), program.ms.end());
    std::printf("%ls: median %.1f ms, fastest %.1f ms over %d starts\n", program.name.c_str(),
                program.ms[program.ms.size() / 2], program.ms.front(), runs);
  }
  // Each program against the last one, the baseline.
  const Program& baseline = programs.back();
  for (std::size_t i = 0; i + 1 < programs.size(); ++i) {
    std::printf("ratio %ls / %ls (medians): %.2f\n", programs[i].name.c_str(),
                baseline.name.c_str(),
                programs[i].ms[programs[i].ms.size() / 2] / baseline.ms[baseline.ms.size() / 2]);
  }
  return 0;
}
