// Tests of the streamed file run: lines and fields cut at every block boundary, and inputs that
// fail or change part-way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "batch/file_run.h"
#include "batch/line_list.h"
#include "batch/line_sorter.h"
#include "batch/line_stream.h"
#include "tests/support/chunk_source.h"
#include "tests/support/line_is_good.h"
#include "tests/support/temp_folder.h"

namespace sipo {
namespace {

using namespace std::string_literals;

// CR LF pairs, lone CRs, LF CR, empty lines, fields and quotes, and a NUL right after a line end
// that hides the rest.
const std::string kTricky =
    "1234567897\r\n"
    "a;1234567897;x\r"
    "\n"
    "\"b\";\"9876543213\"\n\r"
    "\r\n"
    "c;1234567890\r"
    "d;9876543213;\xE1\r\n"
    "\"1234567897\";\"\"\r\n"
    "e;;1234567897\n"
    "\0f;1234567897\r\n"s;

std::vector<std::string> ReferenceLines(const std::string& text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

TEST(ForEachStreamedLine, EveryBlockBoundaryGivesTheLinesOfTheWholeText) {
  const std::string texts[] = {kTricky,   "no end"s, "x\r"s,    "\r\n\r\n"s,
                               "ab\0cd"s, "\0"s,     "\n\0\r"s, ""s};
  for (const std::string& text : texts) {
    for (std::size_t block = 1; block <= 24; ++block) {
      for (const auto& pieces : {std::vector<std::size_t>{SIZE_MAX}, {1, 3, 2}, {5}}) {
        test::ChunkSource source(text, pieces);
        std::vector<std::string> lines;
        const StreamEnd end =
            ForEachStreamedLine(source, block, [&](std::string_view line, bool crlfFollows) {
              // The CR LF said to follow is really there, right after the line.
              if (crlfFollows) {
                EXPECT_EQ(std::string(line.data() + line.size(), 2), "\r\n");
              }
              lines.emplace_back(line);
            });
        EXPECT_EQ(end, StreamEnd::Complete);
        EXPECT_EQ(lines, ReferenceLines(text)) << "block " << block << " text " << text;
      }
    }
  }
}

TEST(LineIsGood, AgreesWithTheFieldList) {
  const std::string lines[] = {"",
                               "1234567897",
                               ";1234567897",
                               "1234567897;",
                               "a;;1234567897",
                               "\"1234567897\"",
                               "\"a\"\"1234567897\"",
                               "\"\";\"1234567897",
                               "a;1234567897;b;",
                               "x\"1234567897\"y"};
  FieldList fields;
  for (const std::string& line : lines) {
    for (const bool quoted : {false, true}) {
      for (std::int32_t column = -1; column <= 3; ++column) {
        const LineRule rule{false, quoted, ';', column};
        EXPECT_EQ(test::LineIsGood<ByteUnits>(line, rule, TextDelimiter{}),
                  LineHasValidNumber(line, false, quoted, ';', column, fields))
            << line << " quoted " << quoted << " column " << column;
      }
    }
  }
}

struct Outputs {
  test::TempFolder folder;
  std::filesystem::path Bad() const { return folder.Path() / "bad.txt"; }
  std::filesystem::path Ok() const { return folder.Path() / "ok.txt"; }
};

TEST(SortLines, SameOutputsWhereverTheBlocksEnd) {
  const LineRule rule{false, false, ';', 1};
  for (std::size_t block = 1; block <= 20; ++block) {
    Outputs out;
    test::ChunkSource source(kTricky, {3, 1, 4});
    AtomicFileWriter bad(out.Bad()), ok(out.Ok());
    const StreamSort sort = SortLines(source, rule, bad, ok, nullptr, block);
    EXPECT_EQ(sort.end, StreamEnd::Complete);
    EXPECT_EQ(sort.sorted.lines, 9u);
    EXPECT_EQ(sort.sorted.good, 2u);
    EXPECT_EQ(out.folder.Read("ok.txt"), "a;1234567897;x\r\nd;9876543213;\xE1\r\n") << block;
    EXPECT_EQ(out.folder.Read("bad.txt"),
              "1234567897\r\n\"b\";\"9876543213\"\r\n\r\n\r\nc;1234567890\r\n"
              "\"1234567897\";\"\"\r\ne;;1234567897\r\n")
        << block;
  }
}

TEST(SortLines, AReadThatFailsPartWayLeavesBothOutputsAsTheyWere) {
  Outputs out;
  out.folder.Write("ok.txt", "old ok\r\n");
  test::ChunkSource source(std::string(5000, 'x') + "\r\n1234567897\r\n", {1000}, 3000);
  AtomicFileWriter bad(out.Bad()), ok(out.Ok());
  EXPECT_EQ(SortLines(source, LineRule{true}, bad, ok, nullptr, 512).end, StreamEnd::ReadFailed);
  EXPECT_EQ(out.folder.Read("ok.txt"), "old ok\r\n");
  EXPECT_FALSE(out.folder.Exists("bad.txt"));
  EXPECT_EQ(out.folder.EntryCount(), 1u);  // no temporary left
}

// Records what the run reported and stops it once stopAfter reports were made.
class StoppingMonitor : public RunMonitor {
 public:
  explicit StoppingMonitor(std::size_t stopAfter) : stopAfter_(stopAfter) {}
  void Progress(const RunProgress& progress) override { reports.push_back(progress); }
  bool StopRequested() override { return reports.size() >= stopAfter_; }
  std::vector<RunProgress> reports;

 private:
  std::size_t stopAfter_;
};

TEST(SortLines, AMonitorHearsOfEveryReadAndCanStopTheRunWithTheOutputsUntouched) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "1234567897\r\nx\r\n";
  for (const std::size_t stopAfter : {std::size_t{1}, std::size_t{3}, SIZE_MAX}) {
    Outputs out;
    out.folder.Write("ok.txt", "old ok\r\n");
    test::ChunkSource source(text, {1000});
    AtomicFileWriter bad(out.Bad()), ok(out.Ok());
    StoppingMonitor monitor(stopAfter);
    const StreamSort sort = SortLines(source, LineRule{true}, bad, ok, &monitor, 512);
    ASSERT_FALSE(monitor.reports.empty());
    EXPECT_EQ(monitor.reports.front().bytesRead, 512u);
    if (stopAfter == SIZE_MAX) {
      EXPECT_EQ(sort.end, StreamEnd::Complete);
      EXPECT_EQ(monitor.reports.back().bytesRead, text.size());
      EXPECT_EQ(out.folder.Read("bad.txt").size(), 900u);
      continue;
    }
    EXPECT_EQ(sort.end, StreamEnd::Interrupted) << stopAfter;
    EXPECT_EQ(monitor.reports.size(), stopAfter);
    EXPECT_EQ(out.folder.Read("ok.txt"), "old ok\r\n");
    EXPECT_EQ(out.folder.EntryCount(), 1u);  // no bad output, no temporary
  }
}

// Before each read the monitor hears the lines counted so far: a read that then waits for a
// pipe shows every line before it, not those of the read before.
TEST(SortLines, TheMonitorHearsOfEachReadBeforeItStartsWithTheLinesSoFar) {
  struct Recorder : RunMonitor {
    void ReadStarting(const RunProgress& soFar) override { starts.push_back(soFar.lines); }
    void Progress(const RunProgress&) override {}
    bool StopRequested() override { return false; }
    std::vector<std::uint64_t> starts;
  } monitor;
  Outputs out;
  AtomicFileWriter bad(out.Bad()), ok(out.Ok());
  std::string text;
  for (int i = 0; i < 10; ++i) text += "1234567897\r\n";
  test::ChunkSource lines(text, {12});
  SortLines(lines, LineRule{true}, bad, ok, &monitor, 12);
  ASSERT_GE(monitor.starts.size(), 3u);
  // The mark is decided on the first read; each later read starts after its line was sorted.
  EXPECT_EQ(monitor.starts.back(), 10u);
}

// A stop ends the input early, which for a UTF-16 text can leave half a unit: the run still
// reports the stop, not an odd length.
TEST(SortLines, AStopIsReportedAsAStopWhateverTheLastReadGave) {
  const std::string text = "\xFF\xFE" + std::string("1\0\r\0\n\0", 6) + std::string(1001, 'y');
  for (const std::size_t piece : {std::size_t{3}, std::size_t{5}, std::size_t{8}}) {
    Outputs out;
    test::ChunkSource source(text, {piece});
    AtomicFileWriter bad(out.Bad()), ok(out.Ok());
    StoppingMonitor monitor(3);
    EXPECT_EQ(SortLines(source, LineRule{true}, bad, ok, &monitor, 64).end, StreamEnd::Interrupted)
        << piece;
  }
}

// Once the outputs are being replaced, a stop no longer interrupts: both are replaced.
TEST(SortLines, AStopAfterTheCommitStartedReplacesBothOutputs) {
  struct LateStop : RunMonitor {
    void Progress(const RunProgress&) override {}
    bool StopRequested() override { return committing; }
    bool CommitStarting() override { return !std::exchange(committing, true); }
    bool committing = false;
  } monitor;
  Outputs out;
  out.folder.Write("ok.txt", "old ok");
  out.folder.Write("bad.txt", "old bad");
  test::ChunkSource source("1234567897\r\nx\r\n", {SIZE_MAX});
  AtomicFileWriter bad(out.Bad()), ok(out.Ok());
  const StreamSort sort = SortLines(source, LineRule{true}, bad, ok, &monitor);
  EXPECT_EQ(sort.end, StreamEnd::Complete);
  EXPECT_EQ(out.folder.Read("ok.txt"), "1234567897\r\n");
  EXPECT_EQ(out.folder.Read("bad.txt"), "x\r\n");
}

// Another program shrinks the input after the first block has been read.
class ShrinkingInput : public ByteSource {
 public:
  ShrinkingInput(InputFile& file, std::filesystem::path path)
      : file_(file), path_(std::move(path)) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    const std::ptrdiff_t count = file_.Read(buffer, size);
    if (reads_++ == 0) std::filesystem::resize_file(path_, 1000);
    return count;
  }

 private:
  InputFile& file_;
  std::filesystem::path path_;
  int reads_ = 0;
};

TEST(SortLines, AnInputThatShrinksMeanwhileIsAFailureNotACrash) {
  Outputs out;
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "1234567897\r\n";
  out.folder.Write("in.txt", text);
  InputFile file;
  ASSERT_TRUE(file.Open(out.folder.Path() / "in.txt"));
  ShrinkingInput input(file, out.folder.Path() / "in.txt");
  AtomicFileWriter bad(out.Bad()), ok(out.Ok());
  EXPECT_EQ(SortLines(input, LineRule{true}, bad, ok, nullptr, 4096).end, StreamEnd::ReadFailed);
  EXPECT_TRUE(file.Changed());
  EXPECT_EQ(out.folder.EntryCount(), 1u);  // the input alone: no output, no temporary
}

TEST(SortFile, ReportsHowReadingTheInputEnded) {
  Outputs out;
  const LineRule rule{true};
  EXPECT_EQ(SortFile(out.folder.Path() / "missing", out.Ok(), out.Bad(), rule).input,
            InputState::CannotOpen);
  EXPECT_EQ(SortFile(out.folder.Path(), out.Ok(), out.Bad(), rule).input, InputState::CannotOpen);
  const std::string longLine(1000, 'l');  // longer than the fixed-size copy of short lines
  out.folder.Write("in.txt", "1234567897\r\n" + longLine + "\nx");
  const FileSortResult sorted = SortFile(out.folder.Path() / "in.txt", out.Ok(), out.Bad(), rule);
  EXPECT_EQ(sorted.input, InputState::Read);
  EXPECT_EQ(out.folder.Read("ok.txt"), "1234567897\r\n");
  EXPECT_EQ(out.folder.Read("bad.txt"), longLine + "\r\nx\r\n");
}

}  // namespace
}  // namespace sipo
