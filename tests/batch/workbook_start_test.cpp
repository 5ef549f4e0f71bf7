// Tests of telling a workbook by its first bytes, and of handing those bytes on unchanged.
#include "batch/workbook_start.h"

#include "batch/text_start.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/support/chunk_source.h"

namespace sipo {
namespace {

using namespace std::string_literals;

const std::string kXlsx = "PK\x03\x04\x14\0\x06\0"s;
const std::string kXls = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0"s;

// A text that merely begins like a signature is text; so is a signature cut short.
TEST(WorkbookStart, TellsAWorkbookBySignatureOnly) {
  const std::pair<std::string, bool> cases[] = {
      {kXlsx, true},
      {"PK\x03\x04"s, true},
      {kXls, true},
      {"PK\x03"s, false},
      {"PK;1234567897\r\n", false},
      {"\xD0\xCF\x11\xE0\xA1\xB1\x1A"s, false},
      {"\xD0\xCF\x11\xE0;1234567897"s, false},
      {"\xEF\xBB\xBFPK\x03\x04"s, false},
      {"", false},
  };
  for (const auto& [start, workbook] : cases) {
    EXPECT_EQ(StartsLikeWorkbook(start), workbook) << testing::PrintToString(start);
    // The same read through a source that hands out a byte at a time.
    test::ChunkSource source(start + "rest", {1});
    TextStart text(source);
    ASSERT_TRUE(text.ReadMark() && text.ReadWorkbookSignature());
    EXPECT_EQ(text.IsWorkbook(), workbook) << testing::PrintToString(start);
  }
}

// Whatever was read ahead comes out first, then the rest, every byte once; a failed read is told.
TEST(WorkbookStart, HandsOnEveryByteInOrder) {
  for (const std::string& text : {kXls + "tail", "12"s, "\xD0\xCF\x11\xE0 1234567897\r\n"s}) {
    test::ChunkSource source(text, {3, 1});
    TextStart start(source);
    ASSERT_TRUE(start.ReadMark() && start.ReadWorkbookSignature());
    std::string out;
    char buffer[2];
    for (std::ptrdiff_t n; (n = start.Read(buffer, sizeof buffer)) > 0;) out.append(buffer, n);
    EXPECT_EQ(out, text);
  }
  test::ChunkSource failing("PK\x03\x04", {1}, 2);
  TextStart start(failing);
  EXPECT_FALSE(start.ReadMark() && start.ReadWorkbookSignature());
}

}  // namespace
}  // namespace sipo
