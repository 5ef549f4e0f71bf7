// taskbar_progress.h - a long run's progress on the window's taskbar button: what the button can
// show, and how one run's course maps onto it. No Windows here, so that it is tested anywhere.
#pragma once

#include <cstdint>

#include "batch/run_monitor.h"

namespace sipo::ui {

// What a taskbar button shows of a window's work.
class TaskbarProgress {
 public:
  virtual ~TaskbarProgress() = default;
  // Busy, with no measure of how far (the input's size is not known).
  virtual void ShowBusy() = 0;
  virtual void ShowValue(std::uint64_t done, std::uint64_t total) = 0;
  // The run failed: the button shows it until Clear.
  virtual void ShowError() = 0;
  virtual void Clear() = 0;
};

// How a run ended, as the taskbar shows it.
enum class RunOutcome { Done, Stopped, Failed };

// Follows one run at a time on a taskbar button, telling it only what changed.
class TaskbarRunView {
 public:
  explicit TaskbarRunView(TaskbarProgress& taskbar) : taskbar_(taskbar) {}

  void Begin();
  void Update(const RunProgress& progress);
  // A failed run stays marked until Dismiss, so that it shows while its messages are read.
  void End(RunOutcome outcome);
  void Dismiss();

 private:
  enum class Shown { Nothing, Busy, Value, Error };
  TaskbarProgress& taskbar_;
  Shown shown_ = Shown::Nothing;
  std::uint64_t done_ = 0;
  std::uint64_t total_ = 0;
};

}  // namespace sipo::ui
