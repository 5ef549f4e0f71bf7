// file_run_thread.h - a confirmed file run's sort on a thread of its own, so that the window's
// thread goes on answering; the window watches its progress and may ask it to stop.
#pragma once

#include <windows.h>

#include <mutex>
#include <optional>
#include <thread>

#include "batch/file_run.h"
#include "batch/run_monitor.h"

namespace sipo::ui {

// The sort never calls the window: it only posts endedMessage to it once it has ended, and the
// window then finishes the job on its own thread (Job after Join).
class FileRunThread : private RunMonitor {
 public:
  FileRunThread(FileRunJob job, HWND window, UINT endedMessage);
  // A window that goes away mid-run stops the sort and waits for it.
  ~FileRunThread() override;
  FileRunThread(const FileRunThread&) = delete;
  FileRunThread& operator=(const FileRunThread&) = delete;

  // May be asked again: a read that blocks (a pipe with nothing to give) is cancelled each time.
  void RequestStop();
  bool StopWasRequested() const;
  // The latest block's counts; none before the first block.
  std::optional<RunProgress> Latest() const;
  // Waits for the sort to end (at once after endedMessage) and gives the job to finish.
  FileRunJob& Join();

 private:
  void Progress(const RunProgress& progress) override;
  bool StopRequested() override;
  void Work(HWND window, UINT endedMessage);

  FileRunJob job_;
  mutable std::mutex mutex_;  // guards the fields below
  std::optional<RunProgress> latest_;
  bool stop_ = false;
  bool reading_ = true;      // false once the input has ended: no read is left to cancel
  HANDLE worker_ = nullptr;  // the sort's thread, while it runs
  std::thread thread_;
};

}  // namespace sipo::ui
