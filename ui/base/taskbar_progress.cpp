// taskbar_progress.cpp - maps a run's course onto its window's taskbar button.
#include "ui/base/taskbar_progress.h"

namespace sipo::ui {

void TaskbarRunView::Begin() {
  shown_ = Shown::Busy;
  taskbar_.ShowBusy();
}

// A bar needs the input's size; without it the button stays busy.
void TaskbarRunView::Update(const RunProgress& progress) {
  if (progress.inputSize < 0) {
    if (shown_ != Shown::Busy) Begin();
    return;
  }
  // An empty input is read whole at once; a bar of nothing would divide by nothing.
  const std::uint64_t total = progress.inputSize > 0 ? progress.inputSize : 1;
  const std::uint64_t done =
      progress.inputSize > 0 && progress.bytesRead < total ? progress.bytesRead : total;
  if (shown_ == Shown::Value && done == done_ && total == total_) return;
  shown_ = Shown::Value;
  done_ = done;
  total_ = total;
  taskbar_.ShowValue(done, total);
}

void TaskbarRunView::End(RunOutcome outcome) {
  if (outcome == RunOutcome::Failed) {
    shown_ = Shown::Error;
    taskbar_.ShowError();
  } else {
    Dismiss();
  }
}

void TaskbarRunView::Dismiss() {
  if (shown_ == Shown::Nothing) return;
  shown_ = Shown::Nothing;
  taskbar_.Clear();
}

}  // namespace sipo::ui
