// start_steps.cpp - marks along the program's start, timed for the start-up benchmark.
#include "ui/base/start_steps.h"

#ifdef SIPO_START_STEPS

#include <windows.h>

#include <cstdio>

namespace sipo::ui {
namespace {

struct Step {
  const char* name;
  ULONGLONG time;  // 100 ns units, as a FILETIME
};

Step steps[32];
int stepCount = 0;

ULONGLONG Ticks(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

void MarkStartStep(const char* name) {
  if (stepCount == 32) return;
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  steps[stepCount++] = {name, Ticks(now)};
}

void WriteStartSteps() {
  wchar_t path[MAX_PATH];
  if (GetEnvironmentVariableW(L"SIPO_START_STEPS_FILE", path, MAX_PATH) == 0) return;
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  FILE* file = _wfopen(path, L"ab");
  if (file == nullptr) return;
  for (int i = 0; i < stepCount; ++i) {
    std::fprintf(file, "%s %.1f ", steps[i].name, (steps[i].time - Ticks(created)) / 1e4);
  }
  std::fprintf(file, "\n");
  std::fclose(file);
}

}  // namespace sipo::ui

#endif
