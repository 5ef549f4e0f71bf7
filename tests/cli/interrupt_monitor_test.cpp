// Tests of how an interruption reaches a file run: one that arrives just after its input ended
// still leaves the outputs untouched, and the console handler ends a run blocked in a read with
// its temporaries removed and one report. The handler is tested through the function it calls,
// since no console event can be sent to a test.
#include "cli/interrupt_monitor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "batch/file_sort.h"
#include "files/atomic_file.h"
#include "files/interruption.h"
#include "tests/support/temp_folder.h"

namespace sipo::cli {
namespace {

using namespace std::chrono_literals;

// A pipe's bytes, then its end; when told, the pipe's end waits until it is released.
class PipeSource : public ByteSource {
 public:
  explicit PipeSource(std::string bytes, bool holdAtEnd = false)
      : bytes_(std::move(bytes)), hold_(holdAtEnd) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    const std::size_t count = std::min(size, bytes_.size() - given_);
    std::memcpy(buffer, bytes_.data() + given_, count);
    given_ += count;
    if (count == 0) {
      std::unique_lock<std::mutex> lock(mutex_);
      ended_ = true;
      changed_.notify_all();
      changed_.wait(lock, [&] { return !hold_; });
    }
    return static_cast<std::ptrdiff_t>(count);
  }
  void WaitForEnd() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return ended_; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    hold_ = false;
    changed_.notify_all();
  }

 private:
  std::string bytes_;
  std::size_t given_ = 0;
  bool hold_;
  bool ended_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
};

std::atomic<bool> interrupted{false};
bool Interrupted() {
  return interrupted.load();
}

struct Outputs {
  test::TempFolder folder;
  Outputs() {
    folder.Write("ok.txt", "old ok\r\n");
    folder.Write("bad.txt", "old bad\r\n");
  }
  bool Untouched() const {
    return folder.Read("ok.txt") == "old ok\r\n" && folder.Read("bad.txt") == "old bad\r\n" &&
           folder.EntryCount() == 2;
  }
};

// The Ctrl-C that ended the program writing into the pipe arrives a few milliseconds after the
// pipe's end: the run must not have committed by then.
TEST(InterruptMonitor, AnInterruptJustAfterThePipesEndLeavesTheOutputsUntouched) {
  for (const bool comes : {false, true}) {
    interrupted = false;
    Outputs outputs;
    PipeSource pipe("x;1234567897\ny;1234567890\n");
    std::thread console([&] {
      pipe.WaitForEnd();
      std::this_thread::sleep_for(5ms);
      if (comes) interrupted = true;
    });
    InterruptMonitor monitor(Interrupted, 500ms);
    LineRule rule;
    rule.column = 1;
    const FileSortResult sort =
        SortFile(pipe, TargetOf(outputs.folder.Path() / "ok.txt"),
                 TargetOf(outputs.folder.Path() / "bad.txt"), {rule, &monitor});
    console.join();
    EXPECT_EQ(sort.input, comes ? InputState::Interrupted : InputState::Read);
    EXPECT_EQ(outputs.Untouched(), comes);
  }
  interrupted = false;
}

std::string reports;
int endStatus = -1;
void Report(const char* line) {
  reports += line;
}
void End(int status) {
  endStatus = status;
}

// While the run waits for a pipe whose writer lives on, the handler removes the temporaries,
// reports once and ends the process with the interruption's status; when the run then wakes, it
// discards what it has and reports nothing more.
TEST(EndInterruptedRun, ARunBlockedInAReadIsEndedWithItsTemporariesRemoved) {
  ClearInterrupt();
  Outputs outputs;
  PipeSource pipe("x;1234567897\n", true);
  static const char kLine[] = "sipocheck: interrupted\n";
  SetInterruptMessage(kLine);
  FileSortResult sort;
  std::thread run([&] {
    InterruptMonitor monitor(InterruptRequested, 0ms);
    sort = SortFile(pipe, TargetOf(outputs.folder.Path() / "ok.txt"),
                    TargetOf(outputs.folder.Path() / "bad.txt"), {LineRule{}, &monitor});
  });
  pipe.WaitForEnd();
  EXPECT_EQ(outputs.folder.EntryCount(), 4u);  // both temporaries
  EndInterruptedRun(10ms, Report, End);
  EXPECT_EQ(endStatus, kExitInterrupted);
  EXPECT_EQ(reports, kLine);
  EXPECT_TRUE(outputs.Untouched());
  EXPECT_FALSE(ClaimInterruptReport());  // the run, once it wakes, reports nothing more
  pipe.Release();
  run.join();
  EXPECT_EQ(sort.input, InputState::Interrupted);
  EXPECT_TRUE(outputs.Untouched());
  EXPECT_FALSE(HasRegisteredTemporaries());
  SetInterruptMessage(nullptr);
  ClearInterrupt();
}

}  // namespace
}  // namespace sipo::cli
