// Tests of the command-line file check and number check, through its entry function.
#include "cli/sipocheck.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "batch/scan_kernels.h"
#include "core/codepage1250.h"
#include "resources/version.h"
#include "tests/support/temp_folder.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <sys/mount.h>
#endif

namespace sipo::cli {
namespace {

std::string Bracketed(std::string_view text) {
  std::string bracketed = "<";
  bracketed.append(text).push_back('>');
  return bracketed;
}
std::string AsGiven(std::string_view text) {
  return std::string(text);
}

struct Result {
  int exit;
  std::string out, err;
};

Result Sipocheck(std::vector<std::string> args, const std::string& stdinText = "",
                 char separator = ',') {
  std::istringstream in(stdinText);
  std::ostringstream out, err;
  const Console console{Bracketed, AsGiven, separator};
  const int exit = RunSipocheck(args, in, out, err, console);
  return {exit, out.str(), err.str()};
}

// Each help lists every option of its command within 80 columns, on standard output.
TEST(SipocheckUsage, EachHelpListsItsOptionsWithin80Columns) {
  const std::vector<std::string> fileOptions = {
      "--ok",     "--bad",    "--column",   "--delimiter",   "--single-column",
      "--quoted", "--header", "--progress", "--no-progress", "--help",
      "  -- "};
  const std::vector<std::string> checkOptions = {"--decimal-separator", "--help", "  -- "};
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> options;
  };
  std::vector<std::string> every = fileOptions;
  every.insert(every.end(), checkOptions.begin(), checkOptions.end());
  every.push_back("--version");
  const Case cases[] = {
      {{"--help"}, every},
      {{"-h"}, every},
      {{"file", "--help"}, fileOptions},
      {{"file", "in.txt", "-h", "--column", "x"}, fileOptions},
      {{"check", "--help"}, checkOptions},
      {{"check", "-h"}, checkOptions},
  };
  for (const Case& c : cases) {
    const Result r = Sipocheck(c.args);
    EXPECT_EQ(r.exit, kExitOk) << c.args[0];
    EXPECT_EQ(r.err, "");
    for (const std::string& option : c.options)
      EXPECT_NE(r.out.find(option), std::string::npos) << c.args[0] << ": " << option;
    std::istringstream lines(r.out);
    std::size_t examples = 0;
    bool inExamples = false;
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LE(line.size(), 80u) << line;
      inExamples = line == "Examples:" || (inExamples && !line.empty());
      examples += inExamples && line.find("sipocheck ") != std::string::npos;
    }
    EXPECT_GE(examples, 2u) << c.args[0];
  }
  // Every help ends with where to report bugs.
  for (const char* command : {"file", "check"}) {
    EXPECT_TRUE(Sipocheck({command, "--help"}).out.ends_with(BugReportLine())) << command;
  }
  EXPECT_TRUE(Sipocheck({"--help"}).out.ends_with(BugReportLine()));
}

TEST(SipocheckUsage, HelpVersionAndUsageErrors) {
  EXPECT_EQ(Sipocheck({"--help"}).exit, kExitOk);
  EXPECT_NE(Sipocheck({"--help"}).out.find("sipocheck file [OPTION...] INPUT"), std::string::npos);
  // The package and the version first, the copyright next.
  EXPECT_TRUE(Sipocheck({"--version"})
                  .out.starts_with("sipocheck (" SIPO_PRODUCT_NAME ") " SIPO_VERSION_TEXT
                                   "\n" SIPO_COPYRIGHT "\n"));
  EXPECT_EQ(Sipocheck({"--vers"}).out, Sipocheck({"--version"}).out);
  const std::pair<std::vector<std::string>, std::string> errors[] = {
      {{}, "no command given"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"file", "in.txt", "--ok", "a"}, "both --ok and --bad are needed"},
      {{"file", "--ok", "a", "--bad", "b"}, "no input file"},
      {{"file", "in", "--ok"}, "option '--ok' needs a value"},
      {{"file", "in", "--ok", "a", "--bad", "b", "--column", "-1"}, "column '-1'"},
      {{"file", "in", "--ok", "a", "--bad", "b", "--column", "x"}, "column 'x'"},
      {{"file", "in", "--ok", "a", "--bad", "b", "--delimiter", ";;"},
       "option '--delimiter' takes exactly one character"},
      {{"file", "in", "--ok", "a", "--bad", "b", "--colour"}, "unknown option '--colour'"},
      {{"file", "in", "in2", "--ok", "a", "--bad", "b"}, "more than one input file"},
      {{"file", "", "--ok", "a", "--bad", "b"}, "the input file name is empty"},
      {{"file", "in", "--ok", "", "--bad", "b"}, "option '--ok' needs a file name"},
      {{"file", "in", "--ok", "a", "--bad="}, "option '--bad' needs a file name"},
      {{"file", "in", "--ok", "-", "--bad", "-"}, "only one of --ok and --bad can be '-'"},
      {{"file", "--ok", "a", "--bad", "b", "--", "in", "--column"}, "more than one input file"},
      {{"file", "in", "--ok", "a", "--bad", "b", "--delimiter", "\xC2\xA7;"},
       "option '--delimiter' takes exactly one character"},
      {{"file", "in", "--ok", "a", "--bad", "b", "--h"},
       "option '--h' is ambiguous; possibilities: '--header' '--help'"},
      {{"file", "in", "--ok", "a", "--bad", "b", "--quoted=yes"},
       "option '--quoted' takes no value"},
      {{"check", "--what"}, "unknown option '--what'"},
      {{"--what"}, "unknown option '--what'"},
  };
  for (const auto& [args, message] : errors) {
    const Result r = Sipocheck(args);
    EXPECT_EQ(r.exit, kExitUsage) << message;
    EXPECT_NE(r.err.find("sipocheck: " + message), std::string::npos) << r.err;
    // An error inside a command points to that command's help.
    const bool inCommand = !args.empty() && (args[0] == "file" || args[0] == "check");
    const std::string help = inCommand ? "sipocheck " + args[0] + " --help" : "sipocheck --help";
    EXPECT_TRUE(r.err.ends_with("Try '" + help + "'.\n")) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST(SipocheckCheck, PrintsOneQuotedLinePerText) {
  const Result valid = Sipocheck({"check", "1234567897", "9876543213"});
  EXPECT_EQ(valid.exit, kExitOk);
  EXPECT_EQ(valid.out,
            "\"1234567897\";\"<platn\xE9 \xE8\xEDslo>\"\n"
            "\"9876543213\";\"<platn\xE9 \xE8\xEDslo>\"\n");
  // A text that begins with a minus is a text to check, not an option.
  const Result negative = Sipocheck({"check", "-123456782"});
  EXPECT_EQ(negative.exit, kExitNotValid);
  EXPECT_EQ(negative.out, "\"-123456782\";\"<neplatn\xE9 \xE8\xEDslo>\"\n");
  const Result mixed = Sipocheck({"check", "1234567897", "", "12345,6786"}, "", '.');
  EXPECT_EQ(mixed.exit, kExitNotValid);
  EXPECT_EQ(mixed.out,
            "\"1234567897\";\"<platn\xE9 \xE8\xEDslo>\"\n"
            "\"\";\"<>\"\n"
            "\"12345,6786\";\"<nen\xED \xE8\xEDslo>\"\n");
  const Result separator = Sipocheck({"check", "--decimal-separator", ",", "12345,6786"}, "", '.');
  EXPECT_EQ(separator.out, "\"12345,6786\";\"<neplatn\xE9 \xE8\xEDslo>\"\n");
  EXPECT_EQ(Sipocheck({"check", "--dec=,", "12345,6786"}, "", '.').out, separator.out);
  const Result dashed = Sipocheck({"check", "--", "--decimal-separator"});
  EXPECT_EQ(dashed.out, "\"--decimal-separator\";\"<nen\xED \xE8\xEDslo>\"\n");
}

TEST(SipocheckCheck, QuotesAsCsvDoes) {
  const Result r = Sipocheck({"check", "12\"34", "\"", "a;b\r\nc"});
  EXPECT_EQ(r.out,
            "\"12\"\"34\";\"<nen\xED \xE8\xEDslo>\"\n"
            "\"\"\"\";\"<nen\xED \xE8\xEDslo>\"\n"
            "\"a;b\r\nc\";\"<nen\xED \xE8\xEDslo>\"\n");
}

// A stream whose every write fails, as standard output on a full disk does.
class FullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// "check" tells a text that is not valid (1) from a check it could not make (5): a failed write
// of its answers or its messages.
TEST(SipocheckCheck, AFailedWriteIsAFailureOfItsOwn) {
  FullBuffer full;
  std::ostream out(&full);
  std::istringstream in("1234567897\n");
  std::ostringstream err;
  const Console console{Bracketed, AsGiven, ','};
  for (const char* text : {"1234567897", "1234567890"}) {
    EXPECT_EQ(RunSipocheck({"check", text}, in, out, err, console), kExitCannotCheck);
    EXPECT_EQ(err.str(), "sipocheck: cannot write to standard output\n");
    err.str("");
  }
  std::ostringstream out2;
  std::ostream failingErr(&full);
  EXPECT_EQ(RunSipocheck({"file"}, in, out2, failingErr, console), kExitFailed);
  EXPECT_EQ(RunSipocheck({"check", "-"}, in, out2, failingErr, console), kExitCannotCheck);
}

TEST(SipocheckCheck, ReadsStandardInputLinesWhenNoTextIsGiven) {
  const Result r = Sipocheck({"check"}, "1234567897\r\n1234567890\n12345\r");
  EXPECT_EQ(r.exit, kExitNotValid);
  EXPECT_EQ(r.out,
            "\"1234567897\";\"<platn\xE9 \xE8\xEDslo>\"\n"
            "\"1234567890\";\"<neplatn\xE9 \xE8\xEDslo>\"\n"
            "\"12345\";\"<ne\xFApln\xE9 \xE8\xEDslo>\"\n");
  EXPECT_EQ(Sipocheck({"check"}, "1234567897\n").exit, kExitOk);
  // A NUL ends the text, as in a file run.
  EXPECT_EQ(Sipocheck({"check"}, std::string("1234567897\n\0"
                                             "1234567890\n",
                                             23))
                .exit,
            kExitOk);
}

TEST(SipocheckFile, SortsAndSummarises) {
  test::TempFolder folder;
  folder.Write("in.csv", "a;1234567897\nb;1234567890\nc;9876543213\n");
  const Result r = Sipocheck({"file", folder.File("in.csv"), "--ok", folder.File("ok.csv"),
                              "--bad=" + folder.File("bad.csv"), "--col", "1"});  // --column
  EXPECT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_EQ(r.err, "sipocheck: 3 lines read, 2 good, 1 bad\n");
  EXPECT_EQ(folder.Read("ok.csv"), "a;1234567897\r\nc;9876543213\r\n");
  EXPECT_EQ(folder.Read("bad.csv"), "b;1234567890\r\n");
}

// The delimiter is a Windows-1250 byte: the console turns a character into it, and one that
// Windows-1250 lacks is named.
TEST(SipocheckFile, TheDelimiterIsAWindows1250Byte) {
  test::TempFolder folder;
  folder.Write("in.csv",
               "a\xA7"
               "1234567897\nb;1234567897\n");
  const Console console{Bracketed, AsGiven, ','};
  const auto run = [&](const std::string& delimiter) {
    std::istringstream in;
    std::ostringstream out, err;
    const int exit =
        RunSipocheck({"file", folder.File("in.csv"), "--ok", folder.File("ok.csv"), "--bad",
                      folder.File("bad.csv"), "--column", "1", "--delimiter", delimiter},
                     in, out, err, console);
    return Result{exit, out.str(), err.str()};
  };
  const Result section = run("\xC2\xA7");
  EXPECT_EQ(section.exit, kExitOk) << section.err;
  EXPECT_EQ(folder.Read("ok.csv"),
            "a\xA7"
            "1234567897\r\n");
  const Result lacking = run("\xD0\x96");
  EXPECT_EQ(lacking.exit, kExitUsage);
  EXPECT_NE(lacking.err.find("the character '\xD0\x96' (U+0416) has no Windows-1250 byte"),
            std::string::npos)
      << lacking.err;
  // A byte that is no UTF-8 (a script's raw Windows-1250 byte) is taken as given; a tab too.
  EXPECT_EQ(run("\xA7").exit, kExitOk);
  EXPECT_EQ(folder.Read("ok.csv"),
            "a\xA7"
            "1234567897\r\n");
  EXPECT_EQ(run("\t").exit, kExitOk);
  EXPECT_EQ(folder.Read("ok.csv"), "");
}

TEST(SipocheckFile, FailuresGiveClearMessagesAndLoseNothing) {
  test::TempFolder folder;
  folder.Write("ok.txt", "keep me\r\n");
  const Result missing =
      Sipocheck({"file", folder.File("missing.txt"), "--ok", folder.File("ok.txt"), "--bad",
                 folder.File("bad.txt"), "--single-column"});
  EXPECT_EQ(missing.exit, kExitFailed);
  // The system's reason stands between the name and the outcome.
  const std::string start =
      "sipocheck: cannot read the input file '" + folder.File("missing.txt") + "': ";
  const std::string end = "; the output files were not touched\n";
  EXPECT_TRUE(missing.err.starts_with(start) && missing.err.ends_with(end) &&
              missing.err.size() > start.size() + end.size() + 3)
      << missing.err;
  EXPECT_EQ(folder.Read("ok.txt"), "keep me\r\n");
  EXPECT_FALSE(folder.Exists("bad.txt"));
}

#ifdef _WIN32
// A replace the system refuses (the target held open without sharing once both outputs are
// written, before the rename): the message names the system's reason and neither output is
// replaced. The run reads a pipe on its standard input, so the test takes the hold only after
// both temporaries exist and before the last line is given.
TEST(SipocheckFile, AReplaceTheSystemRefusesNamesItsReason) {
  test::TempFolder folder;
  folder.Write("ok.txt", "old ok\r\n");
  folder.Write("bad.txt", "old bad\r\n");
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  const int savedInput = _dup(0);
  const int pipeInput = _open_osfhandle(reinterpret_cast<intptr_t>(readEnd), _O_RDONLY | _O_BINARY);
  ASSERT_EQ(_dup2(pipeInput, 0), 0);
  _close(pipeInput);
  Result r;
  std::thread run([&] {
    r = Sipocheck({"file", "-", "--ok", folder.File("ok.txt"), "--bad", folder.File("bad.txt"),
                   "--single-column", "--no-progress"});
  });
  for (int wait = 0; wait < 1000 && folder.EntryCount() < 4; ++wait) Sleep(10);
  EXPECT_EQ(folder.EntryCount(), 4u);  // both temporaries made
  const HANDLE held = CreateFileW((folder.Path() / "bad.txt").wstring().c_str(), GENERIC_READ, 0,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(held, INVALID_HANDLE_VALUE);
  const std::string lines = "1234567897\r\nx\r\n";
  DWORD written = 0;
  EXPECT_TRUE(
      WriteFile(writeEnd, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr));
  CloseHandle(writeEnd);
  run.join();
  CloseHandle(held);
  _dup2(savedInput, 0);
  _close(savedInput);
  EXPECT_EQ(r.exit, kExitFailed);
  const std::string start =
      "sipocheck: cannot write '" + folder.File("bad.txt") + "' for the bad lines: ";
  const std::size_t at = r.err.find(start);
  ASSERT_NE(at, std::string::npos) << r.err;
  EXPECT_GT(r.err.find('\n', at), at + start.size() + 3) << r.err;  // a reason, not an empty one
  EXPECT_NE(r.err.find("sipocheck: no output file was replaced\n"), std::string::npos) << r.err;
  EXPECT_EQ(folder.Read("ok.txt"), "old ok\r\n");
  EXPECT_EQ(folder.Read("bad.txt"), "old bad\r\n");
  EXPECT_EQ(folder.EntryCount(), 2u);
}
#endif

// An output that is a folder (or a loop of links) is refused before anything is read or
// written; the other output keeps its content.
TEST(SipocheckFile, AnOutputThatIsAFolderIsRefused) {
  test::TempFolder folder;
  folder.Write("in.txt", "1234567897\r\n");
  folder.Write("ok.txt", "keep me\r\n");
  std::filesystem::create_directory(folder.Path() / "dir");
  std::vector<std::pair<std::string, std::string>> refused = {{"dir", "is a directory"}};
#ifndef _WIN32
  std::filesystem::create_symlink("loop", folder.Path() / "loop");
  refused.push_back({"loop", "is a loop of symbolic links"});
#endif
  for (const auto& [name, why] : refused) {
    const Result r = Sipocheck({"file", folder.File("in.txt"), "--ok", folder.File("ok.txt"),
                                "--bad", folder.File(name), "--single-column"});
    EXPECT_EQ(r.exit, kExitFailed);
    EXPECT_EQ(r.err, "sipocheck: the output '" + folder.File(name) + "' " + why +
                         "; the output files were not touched\n");
    EXPECT_EQ(folder.Read("ok.txt"), "keep me\r\n");
  }
  EXPECT_EQ(folder.EntryCount(), refused.size() + 2);
}

#ifndef _WIN32
// A device output is written in place; a pseudo-file input is read to its end.
TEST(SipocheckFile, DevicesAndPseudoFiles) {
  test::TempFolder folder;
  const Result r = Sipocheck({"file", "/proc/self/status", "--ok", "/dev/null", "--bad",
                              folder.File("bad.txt"), "--single-column"});
  EXPECT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_NE(folder.Read("bad.txt").find("Pid:"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  EXPECT_EQ(folder.EntryCount(), 1u);
}
#endif

// The mark decides how the input is read; an input that cannot be read so is refused with its
// reason and status 1, and a NUL that cut the text short is told on standard error.
TEST(SipocheckFile, ReadsByTheMarkRefusesWhatItCannotReadAndReportsANul) {
  using namespace std::string_literals;
  struct Case {
    std::string input;
    int exit;
    std::string message;
  };
  const Case cases[] = {
      {"\xFF\xFE"
       "1\0"
       "2\0"
       "3\0"
       "4\0"
       "5\0"
       "6\0"
       "7\0"
       "8\0"
       "9\0"
       "7\0"s,
       kExitOk, "sipocheck: 1 line read, 1 good, 0 bad\n"},
      {"\xFF\xFE\0\0"s, kExitFailed, "is UTF-32"},
      {"\xFE\xFF\0"
       "1\0"s,
       kExitFailed, "is UTF-16 with an odd number of bytes"},
      {"1234567897\r\nx\0y\r\n"s, kExitIncomplete, "a NUL character on line 2 ended the text"},
      {"PK\x03\x04\x14\0\x06\0"s, kExitFailed, "is a spreadsheet workbook, not text"},
      {"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0"s, kExitFailed,
       "is a spreadsheet workbook, not text; save it as CSV and check that; the output files were "
       "not touched"},
  };
  for (const Case& c : cases) {
    test::TempFolder folder;
    folder.Write("in.txt", c.input);
    folder.Write("ok.txt", "old");
    const Result r = Sipocheck({"file", folder.File("in.txt"), "--ok", folder.File("ok.txt"),
                                "--bad", folder.File("bad.txt"), "--single-column"});
    EXPECT_EQ(r.exit, c.exit) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    if (c.exit == kExitFailed) {
      EXPECT_EQ(folder.Read("ok.txt"), "old");
      EXPECT_FALSE(folder.Exists("bad.txt"));
    }
  }
}

// The summary says when no line had the column, in bytes and in UTF-16 alike.
TEST(SipocheckFile, SaysWhenNoLineHadTheColumn) {
  using namespace std::string_literals;
  const std::pair<std::string, bool> cases[] = {
      {"a;1234567897\r\nb;c\r\n", false},
      {"a;1234567897\r\nb;c;d\r\n", true},
      {"\xFF\xFE"
       "a\0;\0b\0\r\0\n\0"s,
       false},
      {"\xFF\xFE"
       "a\0;\0b\0;\0c\0\r\0\n\0"s,
       true},
  };
  for (const auto& [input, hasColumn] : cases) {
    test::TempFolder folder;
    folder.Write("in.txt", input);
    const Result r = Sipocheck({"file", folder.File("in.txt"), "--ok", folder.File("ok.txt"),
                                "--bad", folder.File("bad.txt"), "--column", "2"});
    EXPECT_EQ(r.exit, kExitOk) << r.err;
    const bool told =
        r.err.find("sipocheck: no line had column 2 (columns are counted from 0)\n") !=
        std::string::npos;
    EXPECT_EQ(told, !hasColumn) << testing::PrintToString(input) << ": " << r.err;
  }
}

// Makes link.txt a link to out.txt, or bound/ the folder sub/ mounted a second time; false when
// the system does not allow it here (Windows without the right to make links, a bind mount
// without root).
bool MakeSecondWay(const test::TempFolder& folder, std::string_view how) {
  std::error_code error;
  if (how == "symbolic") {
    std::filesystem::create_symlink("out.txt", folder.Path() / "link.txt", error);
  } else if (how == "hard") {
    std::filesystem::create_hard_link(folder.Path() / "out.txt", folder.Path() / "link.txt", error);
  } else if (how == "folder link") {
    std::filesystem::create_directory_symlink("sub", folder.Path() / "bound", error);
  } else {
#ifdef _WIN32
    return false;
#else
    std::filesystem::create_directory(folder.Path() / "bound");
    if (mount(folder.File("sub").c_str(), folder.File("bound").c_str(), nullptr, MS_BIND,
              nullptr) != 0) {
      std::perror("skipped: a bind mount needs root");
      return false;
    }
#endif
  }
  return !error;
}

void RemoveSecondWay(const test::TempFolder& folder) {
#ifndef _WIN32
  umount(folder.File("bound").c_str());
#endif
  std::filesystem::remove(folder.Path() / "bound");
}

// Pairs of output names, each with the run's outcome and the bytes of every file afterwards: two
// names of one file are refused before anything is touched, whether or not it exists yet and by
// whatever way its folder is reached; an output that cannot be made stops the run with both
// untouched, and an output may replace the input. A name beginning "\\?\" or "\\.\" stands
// for the prefix and the file's full path.
TEST(SipocheckFile, OutputPairs) {
  const std::string input = "1234567897\r\nx\r\n";
  struct Case {
    const char* name;
    std::string ok, bad;
    int exit;
    std::string message;                                     // a part of standard error
    std::vector<std::pair<std::string, std::string>> files;  // every file afterwards
    // "symbolic" or "hard": a link to out.txt, named link.txt; "folder link" or "bind": sub/
    // reached as bound/ too.
    const char* secondWay = nullptr;
  };
  const std::string kept = "old\r\n";
  const auto refused = [&](const char* name, std::string ok, std::string bad,
                           const char* secondWay = nullptr) {
    return Case{
        name,     ok, bad, kExitUsage, "are one file", {{"in.txt", input}, {"out.txt", kept}},
        secondWay};
  };
  const Case cases[] = {
      refused("a new name, its folder through a link", "sub/new.txt", "bound/new.txt",
              "folder link"),
      refused("a new name, its folder bind-mounted twice", "sub/new.txt", "bound/new.txt", "bind"),
      refused("an existing name, its folder bind-mounted twice", "sub/../out.txt",
              "bound/../out.txt", "bind"),
      {"two new names in one folder",
       "new.txt",
       "New.txt",
#ifdef _WIN32
       kExitUsage,
       "are one file",
       {{"in.txt", input}, {"out.txt", kept}}},
      refused("the prefix \\\\?\\ on a new name", "new.txt", "\\\\?\\new.txt"),
      refused("the prefix \\\\.\\ on a new name", "\\\\.\\new.txt", "new.txt"),
      refused("the prefix \\\\?\\ on an existing name", "\\\\?\\out.txt", "out.txt"),
      refused("a trailing dot", "new.txt", "new.txt."),
      refused("a trailing blank", "new.txt ", "new.txt"),
      refused("forward slashes", "sub/../new.txt", "new.txt"),
#else
       kExitOk,
       "2 lines read, 1 good, 1 bad",
       {{"in.txt", input}, {"out.txt", kept}, {"new.txt", "1234567897\r\n"}, {"New.txt", "x\r\n"}}},
#endif

      {"the same name",
       "out.txt",
       "out.txt",
       kExitUsage,
       "are one file",
       {{"in.txt", input}, {"out.txt", kept}}},
      {"./name",
       "out.txt",
       "./out.txt",
       kExitUsage,
       "are one file",
       {{"in.txt", input}, {"out.txt", kept}}},
      {"a name not made yet, twice",
       "new.txt",
       "sub/../new.txt",
       kExitUsage,
       "are one file",
       {{"in.txt", input}, {"out.txt", kept}}},
      {"a symbolic link",
       "out.txt",
       "link.txt",
       kExitUsage,
       "are one file",
       {{"in.txt", input}, {"out.txt", kept}, {"link.txt", kept}},
       "symbolic"},
      {"a hard link",
       "link.txt",
       "out.txt",
       kExitUsage,
       "are one file",
       {{"in.txt", input}, {"out.txt", kept}, {"link.txt", kept}},
       "hard"},
      {"the input itself",
       "in.txt",
       "out.txt",
       kExitOk,
       "2 lines read, 1 good, 1 bad",
       {{"in.txt", "1234567897\r\n"}, {"out.txt", "x\r\n"}}},
      {"a missing folder",
       "nosuch/ok.txt",
       "out.txt",
       kExitFailed,
       "for the good lines: ",
       {{"in.txt", input}, {"out.txt", kept}}},
  };
  for (const Case& c : cases) {
    test::TempFolder folder;
    folder.Write("in.txt", input);
    folder.Write("out.txt", kept);
    std::filesystem::create_directory(folder.Path() / "sub");
    if (c.secondWay != nullptr && !MakeSecondWay(folder, c.secondWay)) {
      RemoveSecondWay(folder);
      continue;
    }
    const auto full = [&](const std::string& name) {
      const bool prefixed = name.starts_with("\\\\?\\") || name.starts_with("\\\\.\\");
      return prefixed ? name.substr(0, 4) + folder.File(name.substr(4)) : folder.File(name);
    };
    const Result r = Sipocheck({"file", folder.File("in.txt"), "--ok", full(c.ok), "--bad",
                                full(c.bad), "--single-column"});
    EXPECT_EQ(r.exit, c.exit) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
    if (c.secondWay != nullptr) RemoveSecondWay(folder);
    std::filesystem::remove(folder.Path() / "sub");
    EXPECT_EQ(folder.EntryCount(), c.files.size()) << c.name;  // no temporary left either
    for (const auto& [file, bytes] : c.files) EXPECT_EQ(folder.Read(file), bytes) << c.name;
  }
}

// A NUL that cut the input short: the outputs are written, the line is named, and the status
// says that part of the input was not checked. With --header the first line goes to both
// outputs, after the mark, and lines keep their place in the input.
TEST(SipocheckFile, HeaderLinesAndACutInput) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::string input, ok, bad, summary;
    int exit;
  };
  const std::string mark8 = "\xEF\xBB\xBF";
  const std::string header16 = "\xFF\xFEh\0\r\0\n\0"s;
  const std::string number16 = "1\0002\0003\0004\0005\0006\0007\0008\0009\0007\0"s;
  const Case cases[] = {
      {"bytes", "SIPO\n1234567897\nx\r\n", "SIPO\r\n1234567897\r\n", "SIPO\r\nx\r\n",
       "the header line copied to both outputs; 2 lines read, 1 good, 1 bad", kExitOk},
      {"UTF-8", mark8 + "\xC4\x8D\xC3\xADslo\r1234567897",
       mark8 + "\xC4\x8D\xC3\xADslo\r\n1234567897\r\n", mark8 + "\xC4\x8D\xC3\xADslo\r\n",
       "1 line read, 1 good, 0 bad", kExitOk},
      {"UTF-16", header16 + number16, header16 + number16 + "\r\0\n\0"s, header16,
       "1 line read, 1 good, 0 bad", kExitOk},
      {"only a header", "SIPO", "SIPO\r\n", "SIPO\r\n", "0 lines read, 0 good, 0 bad", kExitOk},
      {"a NUL after the header", "SIPO\r\n1234567897\r\nx\0y\r\n"s, "SIPO\r\n1234567897\r\n",
       "SIPO\r\nx\r\n", "a NUL character on line 3 ended the text", kExitIncomplete},
      {"a NUL in the header", "SI\0PO\r\n1234567897\r\n"s, "SI\r\n", "SI\r\n",
       "a NUL character on line 1 ended the text", kExitIncomplete},
  };
  for (const Case& c : cases) {
    test::TempFolder folder;
    folder.Write("in.txt", c.input);
    const Result r =
        Sipocheck({"file", "--header", "--ok", folder.File("ok.txt"), "--bad",
                   folder.File("bad.txt"), "--single-column", "--", folder.File("in.txt")});
    EXPECT_EQ(r.exit, c.exit) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.summary), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(folder.Read("ok.txt"), c.ok) << c.name;
    EXPECT_EQ(folder.Read("bad.txt"), c.bad) << c.name;
  }
}

// --fail-on-bad gives a complete run that sent a line to the bad output a status of its own; a
// header line is no bad line, and a cut input keeps its own status. Without it the run is a
// success.
TEST(SipocheckFile, FailOnBadHasAStatusOfItsOwn) {
  using namespace std::string_literals;
  const std::pair<std::string, int> cases[] = {
      {"SIPO\r\n1234567897\r\n", kExitOk},
      {"SIPO\r\n1234567897\r\nx\r\n", kExitBadLines},
      {"SIPO\r\n", kExitOk},
      {"SIPO\r\nx\r\n\0y\r\n"s, kExitIncomplete},
  };
  for (const auto& [input, exit] : cases) {
    test::TempFolder folder;
    folder.Write("in.txt", input);
    const std::vector<std::string> args = {"file",
                                           folder.File("in.txt"),
                                           "--ok",
                                           folder.File("ok.txt"),
                                           "--bad",
                                           folder.File("bad.txt"),
                                           "--single-column",
                                           "--header"};
    std::vector<std::string> failing = args;
    failing.push_back("--fail-on-bad");
    EXPECT_EQ(Sipocheck(failing).exit, exit) << input;
    EXPECT_EQ(Sipocheck(args).exit, exit == kExitBadLines ? kExitOk : exit) << input;
  }
}

// Standard input is read as its mark says, as a file run reads it; the answers are the same.
TEST(SipocheckCheck, ReadsStandardInputByItsMark) {
  using namespace std::string_literals;
  const std::string answers =
      "\"1234567897\";\"<platn\xE9 \xE8\xEDslo>\"\n"
      "\"12345\";\"<ne\xFApln\xE9 \xE8\xEDslo>\"\n";
  const std::string le =
      "1\0002\0003\0004\0005\0006\0007\0008\0009\0007\0\r\0\n\0"
      "1\0002\0003\0004\0005\0"s;
  std::string be;
  for (std::size_t i = 0; i < le.size(); i += 2) be += std::string{le[i + 1], le[i]};
  const std::pair<const char*, std::string> cases[] = {
      {"no mark", "1234567897\r\n12345"},
      {"UTF-8",
       "\xEF\xBB\xBF"
       "1234567897\r\n12345"},
      {"UTF-16 LE", "\xFF\xFE" + le},
      {"UTF-16 BE", "\xFE\xFF" + be},
  };
  for (const auto& [name, input] : cases) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check"}, {"check", "-"}, {"check", "--", "-"}}) {
      const Result r = Sipocheck(args, input);
      EXPECT_EQ(r.out, answers) << name << ", " << args.size() << " arguments";
      EXPECT_EQ(r.exit, kExitNotValid) << name;
    }
  }
  // A UTF-16 letter reaches the answer as the console's conversion of a Unicode text gives it.
  EXPECT_EQ(Sipocheck({"check"}, "\xFF\xFE\x0D\x01"s).out,
            "\"\xC4\x8D\";\"<nen\xED \xE8\xEDslo>\"\n");
  const Result utf32 = Sipocheck({"check"},
                                 "\xFF\xFE\0\0"
                                 "1\0\0\0"s);
  EXPECT_EQ(utf32.exit, kExitCannotCheck);
  EXPECT_NE(utf32.err.find("standard input is UTF-32"), std::string::npos) << utf32.err;
  const Result odd = Sipocheck({"check"},
                               "\xFF\xFE"
                               "1\0\n"s);
  EXPECT_EQ(odd.exit, kExitCannotCheck);
  EXPECT_NE(odd.err.find("odd number of bytes"), std::string::npos) << odd.err;
  // '-' among texts reads standard input at its place.
  EXPECT_EQ(Sipocheck({"check", "12345", "-"}, "1234567897\n").out,
            "\"12345\";\"<ne\xFApln\xE9 \xE8\xEDslo>\"\n"
            "\"1234567897\";\"<platn\xE9 \xE8\xEDslo>\"\n");
}

// Sets SIPO_SCAN_PATH for the scope; unset again after it.
class ForcedScanPath {
 public:
  explicit ForcedScanPath(const char* name) { Set(name); }
  ~ForcedScanPath() { Set(""); }
  ForcedScanPath(const ForcedScanPath&) = delete;
  ForcedScanPath& operator=(const ForcedScanPath&) = delete;

 private:
  static void Set(const char* name) {
#ifdef _WIN32
    _putenv_s(kScanPathVariable, name);
#else
    if (*name == '\0') {
      unsetenv(kScanPathVariable);
    } else {
      setenv(kScanPathVariable, name, 1);
    }
#endif
  }
};

// A Windows-1250 text as each encoding spells it, after its mark.
std::string Spelled(const std::string& cp1250, const std::string& encoding) {
  if (encoding == "bytes") return cp1250;
  if (encoding == "UTF-8") return "\xEF\xBB\xBF" + Cp1250ToUtf8(cp1250);
  const bool big = encoding == "UTF-16 BE";
  std::string units = big ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : Cp1250ToUtf16(cp1250)) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    units += big ? std::string{high, low} : std::string{low, high};
  }
  return units;
}

// Every layout in every encoding, through every line loop this processor runs (forced by
// SIPO_SCAN_PATH): the same good and bad lines each time. A line loop it cannot run is named as
// skipped.
TEST(SipocheckFile, EveryLineLoopSortsEveryLayoutInEveryEncoding) {
  struct Layout {
    const char* name;
    std::vector<std::string> options;
    std::string good, bad;  // Windows-1250 lines, CR LF after each
  };
  const Layout layouts[] = {
      {"single column", {"--single-column"}, "1234567897\r\n", "1234567890\r\nx\r\n"},
      {"delimited", {"--column", "1"}, "a;1234567897\r\nc;9876543213;x\r\n", "b;1234567890\r\n"},
      {"two-byte delimiter",
       {"--column", "1", "--delimiter", "\xC2\xA7"},
       "a\xA7"
       "1234567897\r\n",
       "\xE8\xA7"
       "12345678977\r\n"},
      {"quoted",
       {"--column", "1", "--quoted"},
       "\"a;\";\"1234567897\"\r\n",
       "\"b\";1234567897\r\n"},
  };
  const std::string encodings[] = {"bytes", "UTF-8", "UTF-16 LE", "UTF-16 BE"};
  // Lines interleaved as the input has them: good first, then bad, each with its own line end.
  const auto input = [](const Layout& layout) {
    std::string lines = layout.good + layout.bad;
    std::string mixed;
    for (std::size_t at = 0; at < lines.size();) {
      const std::size_t end = lines.find("\r\n", at);
      mixed += lines.substr(at, end - at) + (mixed.size() % 2 == 0 ? "\n" : "\r\n");
      at = end + 2;
    }
    return mixed;
  };
  for (const ScanKernels& kernels : AllScanKernels()) {
    if (!KernelsRunOn(kernels, CpuFeaturesHere())) {
      std::printf("[ SKIPPED  ] the %s line loop: this processor lacks %s\n", kernels.name,
                  CpuFeatureNames(kernels.needs & ~CpuFeaturesHere()).c_str());
      continue;
    }
    const ForcedScanPath forced(kernels.name);
    EXPECT_TRUE(
        Sipocheck({"--version"}).out.ends_with("\nline loop: " + std::string(kernels.name) + "\n"));
    for (const Layout& layout : layouts) {
      for (const std::string& encoding : encodings) {
        test::TempFolder folder;
        folder.Write("in.txt", Spelled(input(layout), encoding));
        std::vector<std::string> args = {"file",  folder.File("in.txt"),
                                         "--ok",  folder.File("ok.txt"),
                                         "--bad", folder.File("bad.txt")};
        args.insert(args.end(), layout.options.begin(), layout.options.end());
        const Result r = Sipocheck(args);
        const std::string where = std::string(kernels.name) + ", " + layout.name + ", " + encoding;
        EXPECT_EQ(r.exit, kExitOk) << where << ": " << r.err;
        EXPECT_EQ(folder.Read("ok.txt"), Spelled(layout.good, encoding)) << where;
        EXPECT_EQ(folder.Read("bad.txt"), Spelled(layout.bad, encoding)) << where;
      }
    }
  }
}

// A line loop that is unknown, or that this processor cannot run, is refused before any command
// runs; help still answers.
TEST(SipocheckUsage, AForcedLineLoopThatCannotRunIsRefused) {
  test::TempFolder folder;
  folder.Write("in.txt", "1234567897\r\n");
  const ForcedScanPath forced("avx512");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--version"},
        {"file", folder.File("in.txt"), "--ok", folder.File("ok.txt"), "--bad",
         folder.File("bad.txt"), "--single-column"}}) {
    const Result r = Sipocheck(args);
    EXPECT_EQ(r.exit, kExitUsage);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with("sipocheck: SIPO_SCAN_PATH: no line loop is called 'avx512'"))
        << r.err;
  }
  EXPECT_EQ(folder.EntryCount(), 1u);
  for (const ScanKernels& kernels : AllScanKernels()) {
    if (KernelsRunOn(kernels, CpuFeaturesHere())) continue;
    const ForcedScanPath lacking(kernels.name);
    const Result r = Sipocheck({"--version"});
    EXPECT_EQ(r.exit, kExitUsage);
    EXPECT_NE(r.err.find("needs instruction sets this processor lacks"), std::string::npos);
  }
  EXPECT_EQ(Sipocheck({"--help"}).exit, kExitOk);
}

// Each text reaches its answer through the console's conversion for where it came from, and is
// checked as Windows-1250: with the decimal separator '\xE8' (c with caron), "12345\xE8" "6786"
// reads as a number there (ten characters, not all digits), while its UTF-8 bytes read as none.
TEST(SipocheckCheck, EachTextIsShownByItsSourceAndCheckedAsWindows1250) {
  using namespace std::string_literals;
  const std::string number = "12345\xE8"s + "6786";
  Console console{Bracketed, [](std::string_view t) { return "cp1250:" + std::string(t); }, '\xE8'};
  console.unicodeText = [](std::string_view t) { return "unicode:" + std::string(t); };
  console.argTextShown = [](std::string_view t) { return "arg:" + std::string(t); };
  console.argText = [](std::string_view) { return "12345\xE8"s + "6786"; };
  const std::string valid = ";\"<neplatn\xE9 \xE8\xEDslo>\"\n";
  const std::string utf8 = "12345\xC4\x8D"s + "6786";
  const std::pair<std::string, std::string> cases[] = {
      {number + "\n", "\"cp1250:" + number + "\"" + valid},
      {"\xEF\xBB\xBF" + utf8 + "\n", "\"unicode:" + utf8 + "\"" + valid},
      {"\xFF\xFE"
       "1\0"
       "2\0"
       "3\0"
       "4\0"
       "5\0"
       "\x0D\x01"
       "6\0"
       "7\0"
       "8\0"
       "6\0"s,
       "\"unicode:" + utf8 + "\"" + valid},
  };
  for (const auto& [input, answer] : cases) {
    std::istringstream in(input);
    std::ostringstream out, err;
    EXPECT_EQ(RunSipocheck({"check"}, in, out, err, console), kExitNotValid) << answer;
    EXPECT_EQ(out.str(), answer);
  }
  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(RunSipocheck({"check", "x"}, in, out, err, console), kExitNotValid);
  EXPECT_EQ(out.str(), "\"arg:x\"" + valid);
}

}  // namespace
}  // namespace sipo::cli
