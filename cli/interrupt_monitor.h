// interrupt_monitor.h - how a console's interruption reaches a file run: the run stops after its
// next read, and a run whose input has just ended waits a moment before it commits, because on
// Windows the interruption arrives on another thread a little after the pipe it also ended.
#pragma once

#include <chrono>
#include <cstdint>

#include "batch/run_monitor.h"
#include "cli/console.h"

namespace sipo::cli {

// What a stop reports before a file run has begun, or when there is none (check, the help):
// the entry sets it before it installs the handlers, so that no stop ends the process unsaid.
inline constexpr char kInterruptedBeforeRun[] = "sipocheck: interrupted; no file was touched\n";

class InterruptMonitor : public RunMonitor {
 public:
  // requested tells whether an interruption came; grace is the wait, once an input of unknown
  // size (a pipe, a console, a device) has ended, before the last look at it. Another monitor
  // (one that shows progress) may watch the same run through this one.
  InterruptMonitor(bool (*requested)(), std::chrono::milliseconds grace,
                   RunMonitor* inner = nullptr)
      : requested_(requested), grace_(grace), inner_(inner) {}
  void ReadStarting(const RunProgress& soFar) override;
  void Progress(const RunProgress& progress) override;
  bool StopRequested() override;
  // After an input of unknown size has ended, first waits the grace for an interruption still on
  // its way. The outputs are replaced only if no interruption came first; one that comes later no
  // longer stops the run.
  bool CommitStarting() override;

 private:
  bool (*requested_)();
  std::chrono::milliseconds grace_;
  RunMonitor* inner_;
  std::uint64_t bytesSeen_ = 0;
  bool ended_ = false;
};

// For a console handler's thread: asks the run to stop and gives it wait to remove its
// temporaries, report and end the process. A run still blocked then (in a read of a pipe whose
// writer lives on) is ended here: its temporaries are closed and removed, the interruption is
// reported unless the run did so, and endProcess gets kExitInterrupted. A run that is already
// replacing its outputs is left to complete and end the process itself.
void EndInterruptedRun(std::chrono::milliseconds wait, void (*report)(const char* line),
                       void (*endProcess)(int status));

}  // namespace sipo::cli
