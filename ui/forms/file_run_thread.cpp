// file_run_thread.cpp - a confirmed file run's sort on a thread of its own.
#include "ui/forms/file_run_thread.h"

#include <condition_variable>
#include <mutex>
#include <system_error>

namespace sipo::ui {

// What the window and the sort share. The sort tells it when a read starts and ends, so the
// window cancels exactly the read in progress, and knows when the sort waits for data that may
// never come.
struct FileRunThread::Shared : RunMonitor {
  Shared(FileRunJob job, HWND window, UINT endedMessage)
      : job(std::move(job)), window(window), endedMessage(endedMessage) {}

  void ReadStarting(const RunProgress& soFar) override {
    std::lock_guard lock(mutex);
    latest = soFar;
    inRead = true;
  }
  void Progress(const RunProgress& progress) override {
    std::lock_guard lock(mutex);
    latest = progress;
    inRead = false;
  }
  bool StopRequested() override {
    std::lock_guard lock(mutex);
    return stop;
  }
  // From here on the outputs are replaced whatever comes: a stop must not leave them half done.
  bool CommitStarting() override {
    std::lock_guard lock(mutex);
    return !stop;
  }

  FileRunJob job;
  const HWND window;
  const UINT endedMessage;
  mutable std::mutex mutex;  // guards the fields below
  std::condition_variable endedChanged;
  std::optional<RunProgress> latest;
  bool stop = false;
  bool inRead = false;
  bool ended = false;
  bool abandoned = false;
  std::chrono::steady_clock::time_point stopAt;
  HANDLE worker = nullptr;  // the sort's thread, while it runs
};

// Where no thread can be had, the sort runs here, on the window's thread.
FileRunThread::FileRunThread(FileRunJob job, HWND window, UINT endedMessage)
    : shared_(std::make_shared<Shared>(std::move(job), window, endedMessage)) {
  try {
    thread_ = std::thread([shared = shared_] { Work(shared); });
  } catch (const std::system_error&) {
    Work(shared_);
  }
}

FileRunThread::~FileRunThread() {
  if (!thread_.joinable()) return;
  RequestStop();
  while (!WaitForEnd(kStopWait)) {
    if (Stalled()) {
      Abandon();
      return;
    }
  }
  thread_.join();
}

void FileRunThread::Work(const std::shared_ptr<Shared>& shared) {
  HANDLE self = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  {
    std::lock_guard lock(shared->mutex);
    shared->worker = self;
  }
  shared->job.Sort(shared.get());
  {
    std::lock_guard lock(shared->mutex);
    shared->worker = nullptr;
    shared->ended = true;
    if (!shared->abandoned) PostMessageW(shared->window, shared->endedMessage, 0, 0);
  }
  shared->endedChanged.notify_all();
  if (self != nullptr) CloseHandle(self);
}

// The cancel may come just before the read begins and miss it (a pipe that then gives nothing
// keeps the sort waiting); Stalled tells the window when to stop waiting for it.
void FileRunThread::RequestStop() {
  std::lock_guard lock(shared_->mutex);
  if (shared_->stop) return;
  shared_->stop = true;
  shared_->stopAt = std::chrono::steady_clock::now();
  if (shared_->worker != nullptr && shared_->inRead) CancelSynchronousIo(shared_->worker);
}

std::optional<RunProgress> FileRunThread::Latest() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->latest;
}

bool FileRunThread::Stalled() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->stop && shared_->inRead && !shared_->ended &&
         std::chrono::steady_clock::now() - shared_->stopAt >= kStopWait;
}

bool FileRunThread::WaitForEnd(std::chrono::milliseconds wait) {
  std::unique_lock lock(shared_->mutex);
  return shared_->endedChanged.wait_for(lock, wait, [&] { return shared_->ended; });
}

// The stopped sort discards its temporaries once its read returns; if the program ends first,
// they go with it (the program removes what is registered as it ends).
void FileRunThread::Abandon() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->abandoned = true;
  }
  if (thread_.joinable()) thread_.detach();
}

FileRunJob& FileRunThread::Join() {
  if (thread_.joinable()) thread_.join();
  return shared_->job;
}

}  // namespace sipo::ui
