// Tests of what a long file run shows: FileButton's caption and the taskbar button's progress.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/codepage1250.h"
#include "ui/base/taskbar_progress.h"
#include "ui/forms/file_run_caption.h"

namespace sipo::ui {
namespace {

RunProgress Progress(std::uint64_t bytes, std::int64_t size, std::uint64_t lines) {
  RunProgress progress;
  progress.bytesRead = bytes;
  progress.inputSize = size;
  progress.lines = lines;
  return progress;
}

TEST(StopButtonCaption, PercentWhenTheSizeIsKnownElseLines) {
  EXPECT_EQ(Cp1250ToUtf8(StopButtonCaption(nullptr)), "Přerušit");
  struct Case {
    RunProgress progress;
    std::string caption;
  };
  const Case cases[] = {
      {Progress(0, 1000, 0), "Přerušit (0 %)"},
      {Progress(379, 1000, 12), "Přerušit (37 %)"},
      {Progress(999, 1000, 40), "Přerušit (99 %)"},  // 100 % only once all is read
      {Progress(1000, 1000, 40), "Přerušit (100 %)"},
      {Progress(1500, 1000, 60), "Přerušit (100 %)"},  // a file that grew while read
      {Progress(3'650'000'000, 3'900'000'000, 1), "Přerušit (93 %)"},
      {Progress(0, 0, 0), "Přerušit (100 %)"},
      {Progress(0, -1, 0), "Přerušit (0 řádků)"},
      {Progress(14, -1, 1), "Přerušit (1 řádek)"},
      {Progress(28, -1, 2), "Přerušit (2 řádky)"},
      {Progress(56, -1, 4), "Přerušit (4 řádky)"},
      {Progress(70, -1, 5), "Přerušit (5 řádků)"},
      {Progress(0, -1, 22), "Přerušit (22 řádků)"},
      {Progress(0, -1, 10'000'000), "Přerušit (10000000 řádků)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp1250ToUtf8(StopButtonCaption(&c.progress)), c.caption);
  }
  EXPECT_DOUBLE_EQ(ReadFraction(Progress(250, 1000, 0)), 0.25);
  EXPECT_DOUBLE_EQ(ReadFraction(Progress(2000, 1000, 0)), 1.0);
  EXPECT_LT(ReadFraction(Progress(250, -1, 0)), 0.0);
}

// Records the calls a run makes on the taskbar button.
class FakeTaskbar : public TaskbarProgress {
 public:
  void ShowBusy() override { calls.push_back("busy"); }
  void ShowValue(std::uint64_t done, std::uint64_t total) override {
    calls.push_back(std::to_string(done) + "/" + std::to_string(total));
  }
  void ShowError() override { calls.push_back("error"); }
  void Clear() override { calls.push_back("clear"); }
  std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

TEST(TaskbarRunView, ABarForAKnownSizeBusyOtherwiseClearedAtTheEnd) {
  FakeTaskbar taskbar;
  TaskbarRunView view(taskbar);
  view.Begin();
  view.Update(Progress(100, 1000, 3));
  view.Update(Progress(100, 1000, 3));  // nothing new: no call
  view.Update(Progress(1000, 1000, 30));
  view.End(RunOutcome::Done);
  view.Dismiss();  // already clear: no call
  EXPECT_EQ(taskbar.calls, (Calls{"busy", "100/1000", "1000/1000", "clear"}));

  taskbar.calls.clear();
  view.Begin();
  view.Update(Progress(14, -1, 1));
  view.Update(Progress(28, -1, 2));
  view.End(RunOutcome::Stopped);
  EXPECT_EQ(taskbar.calls, (Calls{"busy", "clear"}));

  taskbar.calls.clear();
  view.Begin();
  view.Update(Progress(0, 0, 0));
  view.End(RunOutcome::Done);
  EXPECT_EQ(taskbar.calls, (Calls{"busy", "1/1", "clear"}));
}

TEST(TaskbarRunView, AFailedRunShowsItsErrorUntilDismissed) {
  FakeTaskbar taskbar;
  TaskbarRunView view(taskbar);
  view.Begin();
  view.Update(Progress(500, 1000, 10));
  view.End(RunOutcome::Failed);
  EXPECT_EQ(taskbar.calls, (Calls{"busy", "500/1000", "error"}));
  view.Dismiss();
  view.Dismiss();
  EXPECT_EQ(taskbar.calls, (Calls{"busy", "500/1000", "error", "clear"}));
}

}  // namespace
}  // namespace sipo::ui
