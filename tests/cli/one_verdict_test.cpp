// Tests that the command line gives each text of the shared table its one verdict: "check" prints
// its status, and a file run puts its line into the good output exactly when it is valid, in
// each of the three ways a line holds its number.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/sipocheck.h"
#include "core/sipo_number.h"
#include "tests/support/temp_folder.h"
#include "tests/support/verdict_table.h"

namespace sipo::cli {
namespace {

std::string AsGiven(std::string_view text) {
  return std::string(text);
}

int RunCommand(const std::vector<std::string>& args, char separator, std::string& out,
               std::string& err) {
  std::istringstream in;
  std::ostringstream outStream, errStream;
  const Console console{AsGiven, AsGiven, separator};
  const int exit = RunSipocheck(args, in, outStream, errStream, console);
  out = outStream.str();
  err = errStream.str();
  return exit;
}

TEST(OneVerdict, CheckPrintsEachTextsStatus) {
  for (const char separator : {',', '.'}) {
    for (const test::VerdictCase& c : test::kVerdictCases) {
      if (!test::VerdictAppliesTo(c, separator)) continue;
      std::string out, err;
      RunCommand({"check", "--", std::string(c.text)}, separator, out, err);
      std::string expected = "\"";
      expected.append(c.text).append("\";\"").append(StatusText(c.verdict)).append("\"\n");
      EXPECT_EQ(out, expected) << "'" << c.text << "' with '" << separator << "'";
    }
  }
}

TEST(OneVerdict, AFileRunSortsEachLayoutByTheSameVerdict) {
  struct Layout {
    const char* name;
    std::vector<std::string> options;
    std::string before, after;  // around the text on its line
  };
  const Layout layouts[] = {
      {"whole line", {"--single-column"}, "", ""},
      {"field", {"--column", "1", "--delimiter", ";"}, "a;", ";b"},
      {"quoted", {"--column", "1", "--quoted"}, "\"a\";\"", "\";\"b\""},
  };
  for (const Layout& layout : layouts) {
    test::TempFolder folder;
    std::string input, good, bad;
    for (const test::VerdictCase& c : test::kVerdictCases) {
      const std::string line = layout.before + std::string(c.text) + layout.after;
      input += line + "\n";
      (c.verdict == StatusClass::Valid ? good : bad) += line + "\r\n";
    }
    folder.Write("in.txt", input);
    std::vector<std::string> args = {"file",  folder.File("in.txt"), "--ok", folder.File("ok.txt"),
                                     "--bad", folder.File("bad.txt")};
    args.insert(args.end(), layout.options.begin(), layout.options.end());
    std::string out, err;
    EXPECT_EQ(RunCommand(args, ',', out, err), kExitOk) << layout.name << ": " << err;
    EXPECT_EQ(folder.Read("ok.txt"), good) << layout.name;
    EXPECT_EQ(folder.Read("bad.txt"), bad) << layout.name;
  }
}

}  // namespace
}  // namespace sipo::cli
