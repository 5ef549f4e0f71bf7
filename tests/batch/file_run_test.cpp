// Tests of the file run: names, the per-line test, and the run's messages and files in order.
#include "batch/file_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch/line_sorter.h"
#include "batch/run_summary.h"
#include "core/codepage1250.h"
#include "tests/support/chunk_source.h"
#include "tests/support/temp_folder.h"

namespace sipo {
namespace {

using namespace std::string_literals;
using Events = std::vector<std::string>;

// Records every call as text; messages are turned into UTF-8 so that they read in a failure.
class RecordingHost : public FileRunHost {
 public:
  explicit RecordingHost(bool answer = true) : answer_(answer) {}
  bool AskYesNo(std::string_view message) override {
    events.push_back("ask: " + Readable(message));
    return answer_;
  }
  void Inform(std::string_view message) override {
    events.push_back("inform: " + Readable(message));
  }
  void SetBusy(bool busy) override { events.push_back(busy ? "busy on" : "busy off"); }
  void ShowFileName(FileNameSlot slot, std::string_view name) override {
    static const char* const slots[] = {"Input", "OKOutput", "BadOutput"};
    events.push_back(std::string("show ") + slots[static_cast<int>(slot)] + ": " +
                     std::string(name));
  }
  Events events;

 private:
  static std::string Readable(std::string_view cp1250) { return Cp1250ToUtf8(cp1250); }
  bool answer_;
};

const std::string kAsk =
    "ask: Oba soubory, označené jako výstup, budou přepsány. Souhlasíte s tím a chcete pokračovat "
    "?";
const std::string kInputFailed = "inform: Vstupní soubor nelze otevřít.";
const std::string kBadFailed = "inform: Výstupní soubor pro chybné řádky se nepodařilo otevřít.";
const std::string kOKFailed = "inform: Výstupní soubor pro správné řádky se nepodařilo otevřít.";

// The closing box: "Hotovo." and the counts.
std::string Done(const std::string& lines, const std::string& good, const std::string& bad) {
  return "inform: Hotovo.\r\nNačteno řádků: " + lines + "\r\nSprávných: " + good +
         "\r\nChybných: " + bad;
}

// The calls of a confirmed run in their fixed order, with the messages after reading the input
// and after writing the outputs.
Events ConfirmedRun(const std::string& dir, const std::string& input, const std::string& bad,
                    const std::string& ok, const std::string& done,
                    const Events& inputMessages = {}, const Events& outputMessages = {}) {
  Events events = {kAsk, "busy on", "show Input: " + dir + input};
  events.insert(events.end(), inputMessages.begin(), inputMessages.end());
  events.push_back("show BadOutput: " + dir + bad);
  events.push_back("show OKOutput: " + dir + ok);
  events.insert(events.end(), outputMessages.begin(), outputMessages.end());
  events.insert(events.end(), {"busy off", done});
  return events;
}

FileRunOptions Options(std::string input, std::string ok, std::string bad) {
  FileRunOptions options;
  options.Input = std::move(input);
  options.OKOutput = std::move(ok);
  options.BadOutput = std::move(bad);
  options.SingleColumn = true;
  return options;
}

TEST(ResolveUserPath, UnquotesAndAnchorsInTheProgramDirectory) {
  const std::string dir = "C:\\Prog\\";
  const std::pair<std::string, std::string> cases[] = {
      {"in.txt", "C:\\Prog\\in.txt"},
      {"\"D:\\data\\in.txt\"", "D:\\data\\in.txt"},
      {"\"in.txt", "C:\\Prog\\in.txt"},
      {"in.txt\"", "C:\\Prog\\in.txt"},
      {"\"\"", "C:\\Prog\\\"\""},  // two characters stay as they are
      {"\"a\"", "C:\\Prog\\a"},
      {"D:\\x.txt", "D:\\x.txt"},
      {"\\\\server\\share\\x.txt", "\\\\server\\share\\x.txt"},
      {"sub\\\\x.txt", "sub\\\\x.txt"},
      {"D:x.txt", "C:\\Prog\\D:x.txt"},
      {"\\x.txt", "C:\\Prog\\\\x.txt"},
      {"d:/data/x.txt", "C:\\Prog\\d:/data/x.txt"},
      {"", "C:\\Prog\\"},
  };
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(ResolveUserPath(name, dir), expected) << name;
}

TEST(LineHasValidNumber, EachModeTakesItsNumber) {
  struct Case {
    std::string line;
    bool singleColumn, quoted;
    char delimiter;
    std::int32_t column;
    bool expected;
  };
  const Case cases[] = {
      {"1234567897", true, false, ';', 0, true},
      {"1234567897 ", true, false, ';', 0, false},
      {"", true, false, ';', 0, false},
      {"          ", true, false, ';', 0, false},  // blanks weigh 0 but are no digits
      {"x;ABCDEFGHIJ", false, false, ';', 1, false},
      {"\"1234567897\"", true, true, ';', 0, false},  // single column wins over quotes
      {"x;1234567897;y", false, false, ';', 1, true},
      {"x;\"1234567897\";y", false, false, ';', 1, false},
      {"x;\"1234567897\";y", false, true, ';', 0, true},
      {"1234567897;\"a\"", false, true, ';', 0, false},
      {"x;1234567897", false, false, ';', 2, false},
      {"1234567897", false, false, ';', -1, false},
      {"\"1234567897\"", false, true, ';', -1, false},
      {"", false, false, ';', 0, false},
      {"", false, true, ';', 0, false},
      {"a,1234567897", false, false, ',', 1, true},
  };
  FieldList fields;
  test::TempFolder folder;
  for (const auto& c : cases) {
    // The run's own scan, the portable search it is held to, and the rule as the field list
    // states it.
    const LineRule rule{c.singleColumn, c.quoted, c.delimiter, c.column};
    test::ChunkSource input(c.line + "\r\n", {SIZE_MAX});
    EXPECT_EQ(SortFile(input, TargetOf(folder.Path() / "ok.txt"),
                       TargetOf(folder.Path() / "bad.txt"), {rule, nullptr})
                  .sorted.good,
              c.expected ? 1u : 0u)
        << c.line << " column " << c.column;
    EXPECT_EQ(LineIsGood<ByteUnits>(c.line, rule, DelimiterIn(TextEncoding::Bytes, c.delimiter)),
              c.expected)
        << c.line << " column " << c.column;
    EXPECT_EQ(LineHasValidNumber(c.line, c.singleColumn, c.quoted, c.delimiter, c.column, fields),
              c.expected)
        << c.line << " column " << c.column;
  }
}

TEST(LineRuleOf, DerivesDelimiterAndColumn) {
  FileRunOptions options;
  EXPECT_EQ(LineRuleOf(options).delimiter, ';');
  EXPECT_EQ(LineRuleOf(options).column, 0);
  options.Delimiter = ",;";
  options.Column = "3";
  EXPECT_EQ(LineRuleOf(options).delimiter, ',');
  EXPECT_EQ(LineRuleOf(options).column, 3);
  options.Delimiter = " ";
  options.Column = "word";
  EXPECT_EQ(LineRuleOf(options).delimiter, ' ');
  EXPECT_EQ(LineRuleOf(options).column, 0);
  options.Column = "$10";
  EXPECT_EQ(LineRuleOf(options).column, 16);
}

TEST(RunFileCheck, NoChangesNothing) {
  test::TempFolder folder;
  folder.Write("in.txt", "1234567897\r\n");
  RecordingHost host(false);
  RunFileCheck(Options("in.txt", "ok.txt", "bad.txt"), folder.Dir(), host);
  EXPECT_EQ(host.events, Events{kAsk});
  EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(RunFileCheck, SortsLinesAndReportsInOrder) {
  test::TempFolder folder;
  folder.Write("in.txt", "1234567897\r\n1234567890\n\n 1234567897\r9876543213");
  RecordingHost host;
  RunFileCheck(Options("\"in.txt\"", "ok.txt", "bad.txt"), folder.Dir(), host);
  EXPECT_EQ(host.events,
            ConfirmedRun(folder.Dir(), "in.txt", "bad.txt", "ok.txt", Done("5", "2", "3")));
  EXPECT_EQ(folder.Read("ok.txt"), "1234567897\r\n9876543213\r\n");
  EXPECT_EQ(folder.Read("bad.txt"), "1234567890\r\n\r\n 1234567897\r\n");
  EXPECT_EQ(folder.EntryCount(), 3u);
}

// An input that fails, at the start or part-way, ends in the reason and leaves both outputs as
// they were, their names' fields included.
TEST(FileRunJob, AFailedInputLeavesBothOutputsAsTheyWere) {
  const std::string failed =
      "inform: Vstupní soubor nelze otevřít. Výstupní soubory zůstaly beze změny.";
  struct Case {
    const char* name;
    std::optional<std::string> text;  // read through a fake input; none: the named file
    std::size_t failAt;
  };
  const Case cases[] = {
      {"missing file", std::nullopt, 0},
      {"fails at once", "1234567897\r\n", 0},
      {"fails part-way", std::string(300000, 'x') + "\r\n1234567897\r\n", 200000},
  };
  for (const Case& c : cases) {
    test::TempFolder folder;
    folder.Write("ok.txt", "old ok");
    folder.Write("bad.txt", "old bad");
    RecordingHost host;
    std::optional<FileRunJob> job =
        FileRunJob::Start(Options("in.txt", "ok.txt", "bad.txt"), folder.Dir(), host);
    ASSERT_TRUE(job);
    if (c.text) {
      test::ChunkSource input(*c.text, {4096}, c.failAt);
      job->Sort(input);
    } else {
      job->Sort();
    }
    job->Finish(host);
    EXPECT_EQ(host.events, (Events{kAsk, "busy on", "show Input: " + folder.Dir() + "in.txt",
                                   "busy off", failed}))
        << c.name;
    EXPECT_EQ(folder.Read("ok.txt"), "old ok") << c.name;
    EXPECT_EQ(folder.Read("bad.txt"), "old bad") << c.name;
    EXPECT_EQ(folder.EntryCount(), 2u) << c.name;  // no temporary left
  }
}

// An output that cannot be made (an empty name is the program directory, a missing folder, a
// file marked read-only) stops the run before the input is read: both outputs stay as they were
// and the closing box names each failure by its fixed text. (Writing the other output and
// reporting the failure afterwards replaced one of two files that belong together.)
TEST(RunFileCheck, AnOutputThatCannotBeMadeLeavesBothAsTheyWere) {
  const std::string kept = " Výstupní soubory zůstaly beze změny.";
  struct Case {
    std::string ok, bad;
    std::string message;
    bool readOnlyOk = false;
  };
  const Case cases[] = {
      {"ok.txt", "", kBadFailed + kept},
      {"missing/ok.txt", "bad.txt", kOKFailed + kept},
      {"", "missing/bad.txt", kBadFailed + " " + kOKFailed.substr(8) + kept},
      {"ok.txt", "bad.txt", kOKFailed + kept, true},
  };
  for (const auto& c : cases) {
    test::TempFolder folder;
    folder.Write("in.txt", "1234567897\r\nbad\r\n");
    folder.Write("ok.txt", "old ok\r\n");
    folder.Write("bad.txt", "old bad\r\n");
    if (c.readOnlyOk)
      std::filesystem::permissions(folder.Path() / "ok.txt", std::filesystem::perms::owner_read);
    RecordingHost host;
    RunFileCheck(Options("in.txt", c.ok, c.bad), folder.Dir(), host);
    std::filesystem::permissions(folder.Path() / "ok.txt", std::filesystem::perms::owner_all);
    EXPECT_EQ(host.events, (Events{kAsk, "busy on", "show Input: " + folder.Dir() + "in.txt",
                                   "show BadOutput: " + folder.Dir() + c.bad,
                                   "show OKOutput: " + folder.Dir() + c.ok, "busy off", c.message}))
        << "ok '" << c.ok << "', bad '" << c.bad << "'";
    EXPECT_EQ(folder.Read("ok.txt"), "old ok\r\n");
    EXPECT_EQ(folder.Read("bad.txt"), "old bad\r\n");
    EXPECT_EQ(folder.EntryCount(), 3u);  // no temporary left
  }
}

TEST(RunFileCheck, TheClosingBoxGroupsThousandsAndNamesTheLineOfANul) {
  test::TempFolder folder;
  std::string input;
  for (int i = 0; i < 1234; ++i) input += "1234567897\r\n";
  folder.Write("in.txt", input + "x\0rest\r\n1234567897\r\n"s);
  RecordingHost host;
  RunFileCheck(Options("in.txt", "ok.txt", "bad.txt"), folder.Dir(), host);
  EXPECT_EQ(host.events.back(),
            Done("1 235", "1 234", "1") +
                "\r\nNa řádku 1 235 stál znak NUL, zbytek souboru nebyl zkontrolován.");
  EXPECT_EQ(folder.Read("bad.txt"), "x\r\n");
  EXPECT_EQ(GroupedNumber(0), "0");
  EXPECT_EQ(GroupedNumber(999), "999");
  EXPECT_EQ(GroupedNumber(1000), "1 000");
  EXPECT_EQ(GroupedNumber(10000000), "10 000 000");
}

// A run in which no line has the column, most likely counted from one, says so after the counts;
// a column that some line has, even without a good number, says nothing more.
TEST(RunFileCheck, TheClosingBoxSaysWhenNoLineHadTheColumn) {
  struct Case {
    std::string input, column;
    bool quoted;
    std::string done;
  };
  const std::string kNone = "\r\nŽádný řádek neměl sloupec ";
  const std::string kFromZero = " (sloupce se počítají od nuly).";
  const Case cases[] = {
      {"a;1234567897\r\nb;x\r\n", "2", false, Done("2", "0", "2") + kNone + "2" + kFromZero},
      {"a;1234567897\r\nb;x\r\n", "1", false, Done("2", "1", "1")},
      {"a;x\r\nb\r\n", "1", false, Done("2", "0", "2")},
      {"a;\r\nb\r\n", "1", false, Done("2", "0", "2") + kNone + "1" + kFromZero},
      {"\"a\";1234567897\r\n", "1", true, Done("1", "0", "1") + kNone + "1" + kFromZero},
      {"\"a\";\"x\"\r\n", "1", true, Done("1", "0", "1")},
      {"", "3", false, Done("0", "0", "0")},
  };
  for (const Case& c : cases) {
    test::TempFolder folder;
    folder.Write("in.txt", c.input);
    FileRunOptions options = Options("in.txt", "ok.txt", "bad.txt");
    options.SingleColumn = false;
    options.Column = c.column;
    options.SYLK = c.quoted;
    RecordingHost host;
    RunFileCheck(options, folder.Dir(), host);
    EXPECT_EQ(host.events.back(), c.done)
        << testing::PrintToString(c.input) << " column " << c.column;
  }
}

// An input that cannot be read as its mark says ends in the reason, with both outputs and their
// names' fields untouched.
TEST(RunFileCheck, AnUnreadableEncodingIsRefusedWithItsReason) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xFF\xFE\0\0"
       "1\0\0\0"s,
       "inform: Vstupní soubor je v kódování UTF-32, které program neumí číst. Výstupní soubory "
       "zůstaly beze změny."},
      {"\xFF\xFE"
       "1\0\r\0\n"s,
       "inform: Vstupní soubor v kódování UTF-16 má lichý počet bajtů, nelze jej přečíst. "
       "Výstupní soubory zůstaly beze změny."},
  };
  for (const auto& [input, message] : cases) {
    test::TempFolder folder;
    folder.Write("in.txt", input);
    folder.Write("ok.txt", "old ok");
    RecordingHost host;
    RunFileCheck(Options("in.txt", "ok.txt", "bad.txt"), folder.Dir(), host);
    EXPECT_EQ(host.events, (Events{kAsk, "busy on", "show Input: " + folder.Dir() + "in.txt",
                                   "busy off", message}));
    EXPECT_EQ(folder.Read("ok.txt"), "old ok");
    EXPECT_EQ(folder.EntryCount(), 2u);  // no bad output, no temporary
  }
}

// Stops the sort at its first look.
class StopAtOnce : public RunMonitor {
 public:
  void Progress(const RunProgress&) override {}
  bool StopRequested() override { return true; }
};

// A stopped job leaves the old outputs and no temporary; the user hears that, a closing window
// hears nothing.
TEST(FileRunJob, AStoppedSortKeepsTheOutputsAndSaysSo) {
  const std::string kStopped = "inform: Přerušeno. Výstupní soubory zůstaly beze změny.";
  for (const auto finishFor : {FileRunJob::FinishFor::User, FileRunJob::FinishFor::Closing}) {
    test::TempFolder folder;
    folder.Write("in.txt", "1234567897\r\nbad\r\n");
    folder.Write("ok.txt", "old ok\r\n");
    folder.Write("bad.txt", "old bad\r\n");
    RecordingHost host;
    std::optional<FileRunJob> job =
        FileRunJob::Start(Options("in.txt", "ok.txt", "bad.txt"), folder.Dir(), host);
    ASSERT_TRUE(job);
    StopAtOnce monitor;
    job->Sort(&monitor);
    EXPECT_TRUE(job->Stopped());
    job->Finish(host, finishFor);
    Events expected = {kAsk, "busy on", "show Input: " + folder.Dir() + "in.txt", "busy off"};
    if (finishFor == FileRunJob::FinishFor::User) expected.push_back(kStopped);
    EXPECT_EQ(host.events, expected);
    EXPECT_EQ(folder.Read("ok.txt"), "old ok\r\n");
    EXPECT_EQ(folder.Read("bad.txt"), "old bad\r\n");
    EXPECT_EQ(folder.EntryCount(), 3u);
  }
}

// An input whose read throws part-way, as a failure the sort cannot foresee would.
class ThrowingInput : public test::ChunkSource {
 public:
  ThrowingInput() : ChunkSource(std::string(600000, 'x'), {65536}) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    if (++reads_ == 4) throw std::runtime_error("the read failed");
    return ChunkSource::Read(buffer, size);
  }

 private:
  int reads_ = 0;
};

// A sort that throws never reaches "Hotovo.": the host hears only that the busy indicator went
// off, then the failure comes to its thread for its error box; the outputs are as they were.
TEST(FileRunJob, ASortThatThrowsEndsInItsErrorAloneWithTheOutputsAsTheyWere) {
  test::TempFolder folder;
  folder.Write("ok.txt", "old ok");
  folder.Write("bad.txt", "old bad");
  RecordingHost host;
  std::optional<FileRunJob> job =
      FileRunJob::Start(Options("in.txt", "ok.txt", "bad.txt"), folder.Dir(), host);
  ASSERT_TRUE(job);
  ThrowingInput input;
  job->Sort(input);
  EXPECT_THROW(job->Finish(host), std::runtime_error);
  EXPECT_EQ(host.events,
            (Events{kAsk, "busy on", "show Input: " + folder.Dir() + "in.txt", "busy off"}));
  EXPECT_EQ(folder.Read("ok.txt"), "old ok");
  EXPECT_EQ(folder.Read("bad.txt"), "old bad");
  EXPECT_EQ(folder.EntryCount(), 2u);  // no temporary left
}

TEST(RunFileCheck, InputThatIsAlsoAnOutputIsReadInFullFirst) {
  test::TempFolder folder;
  folder.Write("data.txt", "1234567897\r\nbad\r\n");
  RecordingHost host;
  RunFileCheck(Options("data.txt", "data.txt", "bad.txt"), folder.Dir(), host);
  EXPECT_EQ(folder.Read("data.txt"), "1234567897\r\n");
  EXPECT_EQ(folder.Read("bad.txt"), "bad\r\n");
}

// Two output names of one file, however spelled, are refused before the question: nothing is
// read, written or shown. (Writing both lost the bad lines.)
TEST(RunFileCheck, TwoOutputNamesOfOneFileAreRefused) {
  const std::pair<std::string, std::string> pairs[] = {
      {"same.txt", "same.txt"},
      {"\"same.txt\"", "same.txt"},
      {"same.txt", "sub/../same.txt"},
      {"new.txt", "./new.txt"},
  };
  for (const auto& [ok, bad] : pairs) {
    test::TempFolder folder;
    folder.Write("in.txt", "1234567897\r\nbad\r\n");
    folder.Write("same.txt", "old\r\n");
    std::filesystem::create_directory(folder.Path() / "sub");
    RecordingHost host;
    RunFileCheck(Options("in.txt", ok, bad), folder.Dir(), host);
    EXPECT_EQ(host.events, Events{"inform: Výstupní soubory pro správné a pro chybné řádky musí "
                                  "být dva různé soubory."})
        << ok << " / " << bad;
    EXPECT_EQ(folder.Read("same.txt"), "old\r\n");
    EXPECT_EQ(folder.EntryCount(), 3u);
  }
}

TEST(RunFileCheck, ColumnsDelimitersAndQuotes) {
  struct Case {
    std::string column, delimiter;
    bool quoted;
    std::string ok;
  };
  const std::string input =
      "a;1234567897;x\r\n"
      "b;\"1234567897\";x\r\n"
      "c,1234567897\r\n"
      "d;1234567890\r\n"
      "e\r\n"
      "\"f\";\"9876543213\"\r\n";
  const Case cases[] = {
      {"1", "", false, "a;1234567897;x\r\n"},
      {"1", ";x", false, "a;1234567897;x\r\n"},  // only the first byte counts
      {"1", ",", false, "c,1234567897\r\n"},
      {"1", "", true, "\"f\";\"9876543213\"\r\n"},
      {"0", "", true, "b;\"1234567897\";x\r\n"},
      {"-1", "", false, ""},
      {"-1", "", true, ""},
      {"word", ";", false, ""},
  };
  for (const auto& c : cases) {
    test::TempFolder folder;
    folder.Write("in.txt", input);
    FileRunOptions options = Options("in.txt", "ok.txt", "bad.txt");
    options.SingleColumn = false;
    options.Column = c.column;
    options.Delimiter = c.delimiter;
    options.SYLK = c.quoted;
    RecordingHost host;
    RunFileCheck(options, folder.Dir(), host);
    EXPECT_EQ(folder.Read("ok.txt"), c.ok)
        << "column " << c.column << " delimiter '" << c.delimiter << "' quoted " << c.quoted;
    EXPECT_EQ(folder.Read("ok.txt").size() + folder.Read("bad.txt").size(), input.size());
  }
}

}  // namespace
}  // namespace sipo
