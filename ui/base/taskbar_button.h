// taskbar_button.h - a window's taskbar button as a progress display (ITaskbarList3).
#pragma once

#include <windows.h>

#include "ui/base/taskbar_progress.h"

struct ITaskbarList3;

namespace sipo::ui {

// COM and the taskbar's object are loaded at the first call, not at the program's start: most
// sessions never run a long file. Where the taskbar has no such object, the calls do nothing.
class TaskbarButton : public TaskbarProgress {
 public:
  explicit TaskbarButton(HWND window) : window_(window) {}
  ~TaskbarButton() override;
  TaskbarButton(const TaskbarButton&) = delete;
  TaskbarButton& operator=(const TaskbarButton&) = delete;

  void ShowBusy() override;
  void ShowValue(std::uint64_t done, std::uint64_t total) override;
  void ShowError() override;
  void Clear() override;

 private:
  ITaskbarList3* List();

  HWND window_;
  bool loaded_ = false;
  bool comStarted_ = false;
  ITaskbarList3* list_ = nullptr;
};

}  // namespace sipo::ui
