// file_run_thread.cpp - a confirmed file run's sort on a thread of its own.
#include "ui/forms/file_run_thread.h"

#include <system_error>

namespace sipo::ui {

// Where no thread can be had, the sort runs here, on the window's thread, as it once always did.
FileRunThread::FileRunThread(FileRunJob job, HWND window, UINT endedMessage)
    : job_(std::move(job)) {
  try {
    thread_ = std::thread([this, window, endedMessage] { Work(window, endedMessage); });
  } catch (const std::system_error&) {
    Work(window, endedMessage);
  }
}

FileRunThread::~FileRunThread() {
  if (thread_.joinable()) {
    RequestStop();
    thread_.join();
  }
}

void FileRunThread::Work(HWND window, UINT endedMessage) {
  HANDLE self = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  {
    std::lock_guard lock(mutex_);
    worker_ = self;
  }
  job_.Sort(this);
  {
    std::lock_guard lock(mutex_);
    worker_ = nullptr;
  }
  if (self != nullptr) CloseHandle(self);
  PostMessageW(window, endedMessage, 0, 0);
}

// A read that waits for a pipe or a slow share is cancelled, so that the stop does not wait for
// data that may never come; the sort then sees the stop and leaves the outputs as they were.
// Once the input has ended nothing is cancelled: the writes that replace the outputs may follow.
void FileRunThread::RequestStop() {
  std::lock_guard lock(mutex_);
  stop_ = true;
  if (worker_ != nullptr && reading_) CancelSynchronousIo(worker_);
}

bool FileRunThread::StopWasRequested() const {
  std::lock_guard lock(mutex_);
  return stop_;
}

std::optional<RunProgress> FileRunThread::Latest() const {
  std::lock_guard lock(mutex_);
  return latest_;
}

FileRunJob& FileRunThread::Join() {
  if (thread_.joinable()) thread_.join();
  return job_;
}

// A read that gives nothing new is the input's end (or its failure): no further read follows.
void FileRunThread::Progress(const RunProgress& progress) {
  std::lock_guard lock(mutex_);
  if (latest_ && progress.bytesRead == latest_->bytesRead) reading_ = false;
  if (!latest_ && progress.bytesRead == 0) reading_ = false;
  latest_ = progress;
}

bool FileRunThread::StopRequested() {
  std::lock_guard lock(mutex_);
  return stop_;
}

}  // namespace sipo::ui
