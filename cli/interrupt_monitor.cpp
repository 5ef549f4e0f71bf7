// interrupt_monitor.cpp - how a console's interruption reaches a file run.
#include "cli/interrupt_monitor.h"

#include <thread>

#include "files/interruption.h"

namespace sipo::cli {

void InterruptMonitor::ReadStarting(const RunProgress& soFar) {
  if (inner_ != nullptr) inner_->ReadStarting(soFar);
}

// A read that brought nothing new is the input's end (or its failure).
void InterruptMonitor::Progress(const RunProgress& progress) {
  ended_ = progress.inputSize < 0 && progress.bytesRead == bytesSeen_;
  bytesSeen_ = progress.bytesRead;
  if (inner_ != nullptr) inner_->Progress(progress);
}

bool InterruptMonitor::StopRequested() {
  return requested_() || (inner_ != nullptr && inner_->StopRequested());
}

bool InterruptMonitor::CommitStarting() {
  if (ended_ && grace_.count() > 0) std::this_thread::sleep_for(grace_);
  return !StopRequested() && BeginCommit();
}

void EndInterruptedRun(std::chrono::milliseconds wait, void (*report)(const char* line),
                       void (*endProcess)(int status)) {
  if (!RequestInterrupt()) {
    // Too late to stop: returning would let the system end the process mid-replacement.
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }
  std::this_thread::sleep_for(wait);
  RemoveRegisteredTemporaries();
  const char* line = InterruptMessage();
  if (line != nullptr && ClaimInterruptReport()) report(line);
  endProcess(kExitInterrupted);
}

}  // namespace sipo::cli
