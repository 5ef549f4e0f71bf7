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
  // After each block read. Kept cheap by the watcher: it is on the run's path.
  virtual void Progress(const RunProgress& progress) = 0;
  // True once the watcher wants the run to stop; asked after every read and once more just
  // before the outputs are replaced. A stopped run leaves both outputs untouched.
  virtual bool StopRequested() = 0;
};

}  // namespace sipo
