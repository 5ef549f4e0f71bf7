// Tests of the streamed file run: lines and fields cut at every block boundary, and inputs that
// fail or change part-way.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "batch/file_run.h"
#include "batch/file_sort.h"
#include "batch/line_list.h"
#include "batch/line_stream.h"
#include "files/output_target.h"
#include "tests/support/chunk_source.h"
#include "tests/support/line_is_good.h"
#include "tests/support/temp_folder.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

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

TEST(SortFile, SameOutputsWhereverTheBlocksEnd) {
  const LineRule rule{false, false, ';', 1};
  for (std::size_t block = 1; block <= 20; ++block) {
    Outputs out;
    test::ChunkSource source(kTricky, {3, 1, 4});
    const FileSortResult sort =
        SortFile(source, TargetOf(out.Ok()), TargetOf(out.Bad()), {rule, nullptr, false, block});
    EXPECT_EQ(sort.input, InputState::Read);
    EXPECT_EQ(sort.sorted.lines, 9u);
    EXPECT_EQ(sort.sorted.good, 2u);
    EXPECT_EQ(out.folder.Read("ok.txt"), "a;1234567897;x\r\nd;9876543213;\xE1\r\n") << block;
    EXPECT_EQ(out.folder.Read("bad.txt"),
              "1234567897\r\n\"b\";\"9876543213\"\r\n\r\n\r\nc;1234567890\r\n"
              "\"1234567897\";\"\"\r\ne;;1234567897\r\n")
        << block;
  }
}

TEST(SortFile, AReadThatFailsPartWayLeavesBothOutputsAsTheyWere) {
  Outputs out;
  out.folder.Write("ok.txt", "old ok\r\n");
  test::ChunkSource source(std::string(5000, 'x') + "\r\n1234567897\r\n", {1000}, 3000);
  EXPECT_EQ(SortFile(source, TargetOf(out.Ok()), TargetOf(out.Bad()),
                     {LineRule{true}, nullptr, false, 512})
                .input,
            InputState::ReadFailed);
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

TEST(SortFile, AMonitorHearsOfEveryReadAndCanStopTheRunWithTheOutputsUntouched) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "1234567897\r\nx\r\n";
  for (const std::size_t stopAfter : {std::size_t{1}, std::size_t{3}, SIZE_MAX}) {
    Outputs out;
    out.folder.Write("ok.txt", "old ok\r\n");
    test::ChunkSource source(text, {1000});
    StoppingMonitor monitor(stopAfter);
    const FileSortResult sort = SortFile(source, TargetOf(out.Ok()), TargetOf(out.Bad()),
                                         {LineRule{true}, &monitor, false, 512});
    ASSERT_FALSE(monitor.reports.empty());
    // The first read only looks at the signature of a workbook; the blocks follow.
    EXPECT_LE(monitor.reports.front().bytesRead, 512u);
    if (stopAfter == SIZE_MAX) {
      EXPECT_EQ(sort.input, InputState::Read);
      EXPECT_EQ(monitor.reports.back().bytesRead, text.size());
      EXPECT_EQ(out.folder.Read("bad.txt").size(), 900u);
      continue;
    }
    EXPECT_EQ(sort.input, InputState::Interrupted) << stopAfter;
    EXPECT_EQ(monitor.reports.size(), stopAfter);
    EXPECT_EQ(out.folder.Read("ok.txt"), "old ok\r\n");
    EXPECT_EQ(out.folder.EntryCount(), 1u);  // no bad output, no temporary
  }
}

// Before each read the monitor hears the lines counted so far: a read that then waits for a
// pipe shows every line before it, not those of the read before.
TEST(SortFile, TheMonitorHearsOfEachReadBeforeItStartsWithTheLinesSoFar) {
  struct Recorder : RunMonitor {
    void ReadStarting(const RunProgress& soFar) override { starts.push_back(soFar.lines); }
    void Progress(const RunProgress&) override {}
    bool StopRequested() override { return false; }
    std::vector<std::uint64_t> starts;
  } monitor;
  Outputs out;
  std::string text;
  for (int i = 0; i < 10; ++i) text += "1234567897\r\n";
  test::ChunkSource lines(text, {12});
  SortFile(lines, TargetOf(out.Ok()), TargetOf(out.Bad()), {LineRule{true}, &monitor, false, 12});
  ASSERT_GE(monitor.starts.size(), 3u);
  // The mark is decided on the first read; each later read starts after its line was sorted.
  EXPECT_EQ(monitor.starts.back(), 10u);
}

// A stop ends the input early, which for a UTF-16 text can leave half a unit: the run still
// reports the stop, not an odd length.
TEST(SortFile, AStopIsReportedAsAStopWhateverTheLastReadGave) {
  const std::string text = "\xFF\xFE" + std::string("1\0\r\0\n\0", 6) + std::string(1001, 'y');
  for (const std::size_t piece : {std::size_t{3}, std::size_t{5}, std::size_t{8}}) {
    Outputs out;
    test::ChunkSource source(text, {piece});
    StoppingMonitor monitor(3);
    EXPECT_EQ(SortFile(source, TargetOf(out.Ok()), TargetOf(out.Bad()),
                       {LineRule{true}, &monitor, false, 64})
                  .input,
              InputState::Interrupted)
        << piece;
  }
}

// Once the outputs are being replaced, a stop no longer interrupts: both are replaced.
TEST(SortFile, AStopAfterTheCommitStartedReplacesBothOutputs) {
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
  const FileSortResult sort =
      SortFile(source, TargetOf(out.Ok()), TargetOf(out.Bad()), {LineRule{true}, &monitor});
  EXPECT_EQ(sort.input, InputState::Read);
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

TEST(SortFile, AnInputThatShrinksMeanwhileIsAFailureNotACrash) {
  Outputs out;
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "1234567897\r\n";
  out.folder.Write("in.txt", text);
  InputFile file;
  ASSERT_TRUE(file.Open(out.folder.Path() / "in.txt"));
  ShrinkingInput input(file, out.folder.Path() / "in.txt");
  EXPECT_EQ(SortFile(input, TargetOf(out.Ok()), TargetOf(out.Bad()),
                     {LineRule{true}, nullptr, false, 4096})
                .input,
            InputState::ReadFailed);
  EXPECT_TRUE(file.Changed());
  EXPECT_EQ(out.folder.EntryCount(), 1u);  // the input alone: no output, no temporary
}

// An input that another program changed while it was read, as its file tells when asked.
class ChangedInput : public test::ChunkSource {
 public:
  using ChunkSource::ChunkSource;
  bool Changed() const override { return true; }
};

// A changed input replaces nothing, however its reading ended: at its end, at NULs written into
// it meanwhile that cut its text short, or at half a UTF-16 unit; with a header or without.
TEST(SortFile, AChangedInputLeavesBothOutputsAsTheyWereHoweverReadingEnded) {
  const std::string texts[] = {"1234567897\r\nx\r\n", "1234567897\r\n\0\0\0\0\0x\r\n"s,
                               "\xFF\xFE"
                               "1\0\r"s};
  for (const bool header : {false, true}) {
    for (const std::string& text : texts) {
      Outputs out;
      out.folder.Write("ok.txt", "old ok");
      out.folder.Write("bad.txt", "old bad");
      ChangedInput input(text, {4});
      const FileSortResult sort = SortFile(input, TargetOf(out.Ok()), TargetOf(out.Bad()),
                                           {LineRule{true}, nullptr, header});
      EXPECT_EQ(sort.input, InputState::Changed) << text.size() << " header " << header;
      EXPECT_EQ(out.folder.Read("ok.txt"), "old ok");
      EXPECT_EQ(out.folder.Read("bad.txt"), "old bad");
      EXPECT_EQ(out.folder.EntryCount(), 2u);  // no temporary left
    }
  }
}

// Another program writes five NULs into the input, in place, after its first block was read:
// the size stays, the text now ends at the NULs.
class ScribbledInput : public ByteSource {
 public:
  ScribbledInput(InputFile& file, std::filesystem::path path)
      : file_(file), path_(std::move(path)) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    const std::ptrdiff_t count = file_.Read(buffer, size);
    if (reads_++ == 0) {
      std::fstream(path_, std::ios::in | std::ios::out | std::ios::binary)
          .seekp(100000)
          .write("\0\0\0\0\0", 5);
      std::filesystem::last_write_time(
          path_, std::filesystem::last_write_time(path_) + std::chrono::seconds(2));
    }
    return count;
  }
  std::int64_t Size() const override { return file_.Size(); }
  bool Changed() const override { return file_.Changed(); }

 private:
  InputFile& file_;
  std::filesystem::path path_;
  int reads_ = 0;
};

TEST(SortFile, NulsWrittenIntoTheInputMeanwhileReplaceNothing) {
  Outputs out;
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "1234567897\r\n";
  out.folder.Write("in.txt", text);
  InputFile file;
  ASSERT_TRUE(file.Open(out.folder.Path() / "in.txt"));
  ScribbledInput input(file, out.folder.Path() / "in.txt");
  EXPECT_EQ(SortFile(input, TargetOf(out.Ok()), TargetOf(out.Bad()),
                     {LineRule{true}, nullptr, false, 4096})
                .input,
            InputState::Changed);
  EXPECT_EQ(out.folder.EntryCount(), 1u);  // the input alone: no output, no temporary
}

// With no first line there is no header: an empty input, a mark alone or a NUL at the start
// gives outputs without one (a mark alone is copied, as without a header).
TEST(SortFile, AHeaderIsCopiedOnlyWhenTheInputHasAFirstLine) {
  struct Case {
    const char* name;
    std::string input;
    bool copied;
    std::string ok, bad;
    std::uint64_t nulLine;
  };
  // A header whose CR ends the first block, and one longer than two blocks.
  const std::string edge(kStreamBlockSize - 1, 'h'), longer(2 * kStreamBlockSize + 3, 'h');
  const Case cases[] = {
      {"empty", "", false, "", "", 0},
      {"a CR at a block's end", edge + "\r\n1234567897", true, edge + "\r\n1234567897\r\n",
       edge + "\r\n", 0},
      {"a header longer than two blocks", longer + "\nx", true, longer + "\r\n",
       longer + "\r\nx\r\n", 0},
      {"a mark alone", "\xEF\xBB\xBF", false, "\xEF\xBB\xBF", "\xEF\xBB\xBF", 0},
      {"a NUL first", "\0x\r\n"s, false, "", "", 1},
      {"an empty first line", "\r\n1234567897", true, "\r\n1234567897\r\n", "\r\n", 0},
      {"a NUL later", "h\r\nx\0y"s, true, "h\r\n", "h\r\nx\r\n", 2},
      {"UTF-16 LE", "\xFF\xFEh\0\n\0x\0"s, true, "\xFF\xFEh\0\r\0\n\0"s,
       "\xFF\xFEh\0\r\0\n\0x\0\r\0\n\0"s, 0},
  };
  for (const Case& c : cases) {
    for (const std::size_t piece : {std::size_t{1}, SIZE_MAX}) {
      Outputs out;
      test::ChunkSource input(c.input, {piece});
      const FileSortResult sort =
          SortFile(input, TargetOf(out.Ok()), TargetOf(out.Bad()), {LineRule{true}, nullptr, true});
      EXPECT_EQ(sort.input, InputState::Read) << c.name;
      EXPECT_EQ(sort.headerCopied, c.copied) << c.name;
      EXPECT_EQ(sort.sorted.nulLine, c.nulLine) << c.name;
      EXPECT_EQ(out.folder.Read("ok.txt"), c.ok) << c.name;
      EXPECT_EQ(out.folder.Read("bad.txt"), c.bad) << c.name;
    }
  }
}

#ifndef _WIN32
// Lines without end, counting what was read of them.
class EndlessLines : public ByteSource {
 public:
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    static const std::string kLines = "1234567897\r\nx\r\n";
    for (std::size_t i = 0; i < size; ++i) buffer[i] = kLines[(bytesRead + i) % kLines.size()];
    bytesRead += size;
    return static_cast<std::ptrdiff_t>(size);
  }
  std::uint64_t bytesRead = 0;
};

// A full disk, here a limit on a file's size, is found at the first write that fails: no more of
// the input is read, and neither output is replaced.
TEST(SortFile, AFailedWriteEndsTheReadingThere) {
  Outputs out;
  out.folder.Write("ok.txt", "old ok");
  out.folder.Write("bad.txt", "old bad");
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  const rlimit small{rlim_t{1} << 20, before.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EndlessLines input;
  const FileSortResult sort =
      SortFile(input, TargetOf(out.Ok()), TargetOf(out.Bad()), {LineRule{true}});
  setrlimit(RLIMIT_FSIZE, &before);
  EXPECT_EQ(sort.input, InputState::WriteFailed);
  EXPECT_TRUE(sort.bad.error == std::errc::file_too_large ||
              sort.ok.error == std::errc::file_too_large);
  EXPECT_LT(input.bytesRead, std::uint64_t{4} << 20);
  EXPECT_EQ(out.folder.Read("ok.txt"), "old ok");
  EXPECT_EQ(out.folder.Read("bad.txt"), "old bad");
  EXPECT_EQ(out.folder.EntryCount(), 2u);  // no temporary left
}
#endif

TEST(SortFile, ReportsHowReadingTheInputEnded) {
  Outputs out;
  const LineRule rule{true};
  const OutputTarget ok = TargetOf(out.Ok()), bad = TargetOf(out.Bad());
  EXPECT_EQ(SortFile(out.folder.Path() / "missing", ok, bad, {rule}).input, InputState::CannotOpen);
  EXPECT_EQ(SortFile(out.folder.Path(), ok, bad, {rule}).input, InputState::CannotOpen);
  const std::string longLine(1000, 'l');  // longer than the fixed-size copy of short lines
  out.folder.Write("in.txt", "1234567897\r\n" + longLine + "\nx");
  const FileSortResult sorted = SortFile(out.folder.Path() / "in.txt", ok, bad, {rule});
  EXPECT_EQ(sorted.input, InputState::Read);
  EXPECT_EQ(out.folder.Read("ok.txt"), "1234567897\r\n");
  EXPECT_EQ(out.folder.Read("bad.txt"), longLine + "\r\nx\r\n");
}

}  // namespace
}  // namespace sipo
