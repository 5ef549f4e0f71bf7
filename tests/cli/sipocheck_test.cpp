// Tests of the command-line file check and number check, through its entry function.
#include "cli/sipocheck.h"

#include <gtest/gtest.h>

#include <sstream>

#include "resources/version.h"
#include "tests/support/temp_folder.h"

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

TEST(SipocheckUsage, HelpVersionAndUsageErrors) {
  EXPECT_EQ(Sipocheck({"--help"}).exit, kExitOk);
  EXPECT_NE(Sipocheck({"--help"}).out.find("sipocheck file INPUT"), std::string::npos);
  EXPECT_EQ(Sipocheck({"--version"}).out, "sipocheck " SIPO_VERSION_TEXT "\n");
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
      {{"check", "--what"}, "unknown option '--what'"},
  };
  for (const auto& [args, message] : errors) {
    const Result r = Sipocheck(args);
    EXPECT_EQ(r.exit, kExitUsage) << message;
    EXPECT_NE(r.err.find("sipocheck: " + message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Try 'sipocheck --help'."), std::string::npos);
    EXPECT_EQ(r.out, "");
  }
}

TEST(SipocheckCheck, PrintsOneQuotedLinePerText) {
  const Result valid = Sipocheck({"check", "1234567897", "-123456782"});
  EXPECT_EQ(valid.exit, kExitOk);
  EXPECT_EQ(valid.out,
            "\"1234567897\";\"<platn\xE9 \xE8\xEDslo>\"\n"
            "\"-123456782\";\"<platn\xE9 \xE8\xEDslo>\"\n");
  const Result mixed = Sipocheck({"check", "1234567897", "", "12345,6786"}, "", '.');
  EXPECT_EQ(mixed.exit, kExitFailed);
  EXPECT_EQ(mixed.out,
            "\"1234567897\";\"<platn\xE9 \xE8\xEDslo>\"\n"
            "\"\";\"<>\"\n"
            "\"12345,6786\";\"<nen\xED \xE8\xEDslo>\"\n");
  const Result separator = Sipocheck({"check", "--decimal-separator", ",", "12345,6786"}, "", '.');
  EXPECT_EQ(separator.exit, kExitOk);
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

TEST(SipocheckCheck, AFailedWriteIsAFailure) {
  FullBuffer full;
  std::ostream out(&full);
  std::istringstream in("1234567897\n");
  std::ostringstream err;
  const Console console{Bracketed, AsGiven, ','};
  EXPECT_EQ(RunSipocheck({"check", "1234567897"}, in, out, err, console), kExitFailed);
  EXPECT_EQ(err.str(), "sipocheck: cannot write to standard output\n");
  std::ostringstream out2;
  std::ostream failingErr(&full);
  EXPECT_EQ(RunSipocheck({"file"}, in, out2, failingErr, console), kExitFailed);
}

TEST(SipocheckCheck, ReadsStandardInputLinesWhenNoTextIsGiven) {
  const Result r = Sipocheck({"check"}, "1234567897\r\n1234567890\n12345\r");
  EXPECT_EQ(r.exit, kExitFailed);
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
                              "--bad=" + folder.File("bad.csv"), "--column", "1"});
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
  Console console{Bracketed, AsGiven, ','};
  console.argText = [](std::string_view arg) {
    return arg == "\xC2\xA7" ? std::string("\xA7") : std::string(arg);
  };
  console.unmappable = [](std::string_view arg) {
    return arg.find("\xD0\x96") != std::string_view::npos ? std::string("\xD0\x96") : std::string();
  };
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
}

TEST(SipocheckFile, FailuresGiveClearMessagesAndLoseNothing) {
  test::TempFolder folder;
  folder.Write("ok.txt", "keep me\r\n");
  const Result missing =
      Sipocheck({"file", folder.File("missing.txt"), "--ok", folder.File("ok.txt"), "--bad",
                 folder.File("bad.txt"), "--single-column"});
  EXPECT_EQ(missing.exit, kExitFailed);
  EXPECT_NE(missing.err.find("cannot read the input file"), std::string::npos);
  EXPECT_EQ(folder.Read("ok.txt"), "keep me\r\n");
  EXPECT_FALSE(folder.Exists("bad.txt"));

  folder.Write("in.txt", "1234567897\r\nx\r\n");
  const Result badOutput =
      Sipocheck({"file", folder.File("in.txt"), "--ok", folder.File("ok.txt"), "--bad",
                 folder.File("no-folder/bad.txt"), "--single-column"});
  EXPECT_EQ(badOutput.exit, kExitFailed);
  EXPECT_NE(badOutput.err.find("cannot write the bad lines"), std::string::npos);
  EXPECT_EQ(folder.Read("ok.txt"), "1234567897\r\n");  // the other output is still written
}

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
       kExitOk, "1 lines read, 1 good, 0 bad"},
      {"\xFF\xFE\0\0"s, kExitFailed, "is UTF-32"},
      {"\xFE\xFF\0"
       "1\0"s,
       kExitFailed, "is UTF-16 with an odd number of bytes"},
      {"1234567897\r\nx\0y\r\n"s, kExitOk, "a NUL character on line 2 ended the text"},
  };
  for (const Case& c : cases) {
    test::TempFolder folder;
    folder.Write("in.txt", c.input);
    folder.Write("ok.txt", "old");
    const Result r = Sipocheck({"file", folder.File("in.txt"), "--ok", folder.File("ok.txt"),
                                "--bad", folder.File("bad.txt"), "--single-column"});
    EXPECT_EQ(r.exit, c.exit) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    if (c.exit != kExitOk) {
      EXPECT_EQ(folder.Read("ok.txt"), "old");
      EXPECT_FALSE(folder.Exists("bad.txt"));
    }
  }
}

}  // namespace
}  // namespace sipo::cli
