// Tests of the file run's progress line: when it appears, how often it is redrawn, what it says
// and how it is erased.
#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sipo::cli {
namespace {

using namespace std::chrono_literals;

std::chrono::steady_clock::time_point now;
std::chrono::steady_clock::time_point TestClock() {
  return now;
}

RunProgress At(std::uint64_t bytes, std::int64_t size, std::uint64_t lines, std::uint64_t good) {
  return {bytes, size, lines, good};
}

TEST(ProgressLine, AppearsAfterASecondAndIsRedrawnAtMostFourTimesASecond) {
  now = {};
  std::ostringstream out;
  ProgressLine line(out, TestClock);
  now += 999ms;
  line.Progress(At(100, 1000, 10, 6));
  EXPECT_EQ(out.str(), "");  // a short run shows nothing
  line.Erase();
  EXPECT_EQ(out.str(), "");

  now += 1ms;
  line.Progress(At(250, 1000, 25, 15));
  const std::string first = "\r25 % | 25 lines: 15 good, 10 bad | 25 lines/s | 0:03 left";
  EXPECT_EQ(out.str(), first);
  now += 249ms;
  line.Progress(At(300, 1000, 30, 18));
  EXPECT_EQ(out.str().find('\r', 1), std::string::npos);  // too soon for a redraw
  now += 1ms;
  out.str("");
  line.Progress(At(1000, 1000, 5, 5));
  // The shorter line blanks the rest of the longer one it replaces.
  const std::string shorter = "\r100 % | 5 lines: 5 good, 0 bad | 4 lines/s | 0:00 left";
  EXPECT_EQ(out.str(), std::string(shorter).append(first.size() - shorter.size(), ' '));

  out.str("");
  line.Erase();
  EXPECT_EQ(out.str(), std::string("\r").append(shorter.size() - 1, ' ').append("\r"));
}

TEST(ProgressLine, SaysWhatItKnows) {
  // A pipe: no size, so bytes read and no time left.
  EXPECT_EQ(ProgressLine::Text(At(3 * 1024 * 1024 / 2, -1, 4000000, 3000000), 2s),
            "1.5 MB read | 4000000 lines: 3000000 good, 1000000 bad | 2.0 M lines/s");
  // Nothing read yet: no time left to tell.
  EXPECT_EQ(ProgressLine::Text(At(0, 1000, 0, 0), 1s), "0 % | 0 lines: 0 good, 0 bad | 0 lines/s");
  EXPECT_EQ(ProgressLine::Text(At(100, 4000, 10, 10), 10s),
            "2 % | 10 lines: 10 good, 0 bad | 1 lines/s | 6:30 left");
  // Never wider than a terminal's line.
  const std::string widest = ProgressLine::Text(At(1, INT64_MAX, UINT64_MAX / 2, UINT64_MAX / 4),
                                                std::chrono::duration<double>(1e-3));
  EXPECT_LE(widest.size(), ProgressLine::kWidest);
}

}  // namespace
}  // namespace sipo::cli
