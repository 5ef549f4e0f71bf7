// file_run_thread.h - a confirmed file run's sort on a thread of its own, so that the window's
// thread goes on answering; the window watches its progress and may ask it to stop.
#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "batch/file_run.h"
#include "batch/run_monitor.h"

namespace sipo::ui {

// The sort never calls the window: it only posts endedMessage to it once it has ended, and the
// window then finishes the job on its own thread (Job after Join). A sort that was stopped and
// still waits for its input after kStopWait can be left to end on its own (Abandon): it then
// touches no output and posts nothing.
class FileRunThread {
 public:
  static constexpr std::chrono::milliseconds kStopWait{500};

  FileRunThread(FileRunJob job, HWND window, UINT endedMessage);
  // A window that goes away mid-run stops the sort; it waits for a sort that is not stuck in a
  // read, and leaves one that is.
  ~FileRunThread();
  FileRunThread(const FileRunThread&) = delete;
  FileRunThread& operator=(const FileRunThread&) = delete;

  // Cancels the read in progress, if the sort is in one; asking again changes nothing.
  void RequestStop();
  // The latest counts; none before the first read.
  std::optional<RunProgress> Latest() const;
  // Stopped kStopWait ago or more and still in a read that was not cancelled.
  bool Stalled() const;
  // Waits up to wait for the sort to end; true when it has.
  bool WaitForEnd(std::chrono::milliseconds wait);
  // Lets a stalled sort go: it ends on its own, without a word to the window.
  void Abandon();
  // Waits for the sort to end (at once after endedMessage) and gives the job to finish.
  FileRunJob& Join();

 private:
  struct Shared;
  static void Work(const std::shared_ptr<Shared>& shared);

  std::shared_ptr<Shared> shared_;  // also held by the sort's thread, which may outlive this
  std::thread thread_;
};

}  // namespace sipo::ui
