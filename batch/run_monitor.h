// run_monitor.h - what a long file run tells whoever watches it, and how that watcher stops it.
// The run calls both from its own thread: a window or a console turns them into what it shows.
#pragma once

#include <cstdint>

namespace sipo {

struct RunProgress {
  std::uint64_t bytesRead = 0;
  std::int64_t inputSize = -1;  // -1 when the input's size is not known (a pipe, a device)
  std::uint64_t lines = 0;
  std::uint64_t good = 0;
};

class RunMonitor {
 public:
  virtual ~RunMonitor() = default;
  // Just before each read of the input, with the counts so far. The read may block (a pipe with
  // nothing to give, a slow share) until Progress tells that it has ended: whoever stops the run
  // knows exactly when there is a read to cancel.
  virtual void ReadStarting(const RunProgress&) {}
  // After each block read: the read has ended. Kept cheap by the watcher: it is on the run's path.
  virtual void Progress(const RunProgress& progress) = 0;
  // True once the watcher wants the run to stop; asked after every read. A stopped run leaves
  // both outputs untouched.
  virtual bool StopRequested() = 0;
  // Asked once, when the input was read in full and the outputs are about to be replaced: false
  // stops the run there, with both outputs untouched. After true no stop interrupts the
  // replacement, which then completes, so that the outputs are never left half old, half new.
  virtual bool CommitStarting() { return !StopRequested(); }
};

}  // namespace sipo
