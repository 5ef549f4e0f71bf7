// Tests of splitting and joining lines, loading and saving them, and the atomic replace.
#include "batch/line_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#endif

#include "tests/support/temp_folder.h"

namespace sipo {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

Lines Of(const LineList& list) {
  return Lines(list.begin(), list.end());
}

TEST(SplitLines, LineEndsAndNul) {
  const std::pair<std::string, Lines> cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two line ends
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"ab\0cd\r\nef"s, {"ab"}},  // a NUL ends the text
      {"ab\r\n\0cd"s, {"ab"}},
      {"\0"s, {}},
      {"\xEF\xBB\xBF"
       "123\r\n",
       {"\xEF\xBB\xBF"
        "123"}},  // a byte-order mark stays
      {" \t x \t ", {" \t x \t "}},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(Of(SplitLines(text)), expected) << testing::PrintToString(text);
  }
}

TEST(JoinLines, EveryLineEndsWithCrLf) {
  EXPECT_EQ(JoinLines(LineList{}), "");
  EXPECT_EQ(JoinLines(SplitLines("a\nb\rc")), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(JoinLines(SplitLines("\n")), "\r\n");
  LineList copies;
  copies.AppendCopy("[GENERAL]");
  EXPECT_EQ(JoinLines(copies), "[GENERAL]\r\n");
}

TEST(LoadAndSaveLines, RoundTripNormalisesLineEndsOnly) {
  test::TempFolder folder;
  folder.Write("in.txt", "a\nb\r\n\xE8\rlast\0lost"s);
  LineList lines;
  ASSERT_TRUE(LoadLines(folder.File("in.txt"), lines));
  EXPECT_EQ(Of(lines), (Lines{"a", "b", "\xE8", "last"}));
  ASSERT_TRUE(SaveLines(folder.File("out.txt"), lines));
  EXPECT_EQ(folder.Read("out.txt"), "a\r\nb\r\n\xE8\r\nlast\r\n");
  ASSERT_TRUE(SaveLines(folder.File("empty.txt"), LineList{}));
  EXPECT_TRUE(folder.Exists("empty.txt"));
  EXPECT_EQ(folder.Read("empty.txt"), "");
  EXPECT_EQ(folder.EntryCount(), 3u);  // no temporary file left behind
}

TEST(LoadAndSaveLines, FailuresAreReportedAndLoseNothing) {
  test::TempFolder folder;
  LineList lines;
  EXPECT_FALSE(LoadLines(folder.File("missing.txt"), lines));
  EXPECT_TRUE(lines.Empty());
  EXPECT_FALSE(LoadLines(folder.Dir(), lines));  // a directory
  EXPECT_FALSE(LoadLines("", lines));
  EXPECT_FALSE(SaveLines(folder.File("no-such-folder/out.txt"), SplitLines("x")));
  EXPECT_FALSE(SaveLines(folder.Dir(), SplitLines("x")));
  EXPECT_EQ(folder.EntryCount(), 0u);
}

#ifdef __linux__
// A write that fails halfway, as on a full disk: the file size limit makes the writes fail.
TEST(LoadAndSaveLines, FailedWriteKeepsTheOldContent) {
  test::TempFolder folder;
  folder.Write("target.txt", "old content\r\n");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string big(3 << 20, 'x');
    _exit(SaveLines(folder.File("target.txt"), SplitLines(big)) ? 0 : 7);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 7) << "the save should have reported its failure";
  EXPECT_EQ(folder.Read("target.txt"), "old content\r\n");
  EXPECT_EQ(folder.EntryCount(), 1u) << "the temporary file should be gone";
}
#endif

}  // namespace
}  // namespace sipo
