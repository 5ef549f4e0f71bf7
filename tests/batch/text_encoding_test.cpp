// Tests of reading an input by its byte-order mark: UTF-8 and UTF-16 in both byte orders with the
// line, field, NUL and check rules of bytes, and the inputs refused as unreadable.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/file_sort.h"
#include "batch/text_mark.h"
#include "tests/support/chunk_source.h"
#include "tests/support/temp_folder.h"

namespace sipo {
namespace {

using namespace std::string_literals;

const std::string kLE = "\xFF\xFE";
const std::string kBE = "\xFE\xFF";
const std::string kUtf8 = "\xEF\xBB\xBF";

// The text's UTF-16 units as bytes in one byte order.
std::string Units(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}
std::string LE(std::u16string_view text) {
  return kLE + Units(text, false);
}
std::string BE(std::u16string_view text) {
  return kBE + Units(text, true);
}

const LineRule kSingle{true};
const LineRule kSecondField{false, false, ';', 1};
const LineRule kSectionSign{false, false, '\xA7', 1};  // '§' in Windows-1250
const LineRule kSecondQuoted{false, true, ';', 1};

struct Case {
  const char* name;
  std::string input;
  LineRule rule;
  InputState end;
  std::string ok, bad;  // the outputs of a complete read
  std::uint64_t nulLine = 0;
};

const Case kCases[] = {
    // UTF-16 LE
    {"LE mark only", kLE, kSingle, InputState::Read, kLE, kLE},
    {"LE one line without an end", LE(u"1234567897"), kSingle, InputState::Read,
     LE(u"1234567897\r\n"), kLE},
    {"LE CR, LF and CR LF mixed", LE(u"1234567897\rx\n\n1234567890\r\n9876543213\r"), kSingle,
     InputState::Read, LE(u"1234567897\r\n9876543213\r\n"), LE(u"x\r\n\r\n1234567890\r\n")},
    {"LE NUL mid-line", LE(u"1234567897\r\nab\0cd\r\n1234567897"s), kSingle, InputState::Read,
     LE(u"1234567897\r\n"), LE(u"ab\r\n"), 2},
    {"LE NUL at the very end is not reported", LE(u"1234567897\r\n\0"s), kSingle, InputState::Read,
     LE(u"1234567897\r\n"), kLE},
    {"LE odd length", LE(u"1234567897\r\n") + "1", kSingle, InputState::OddLength, "", ""},
    {"LE section sign delimiter", LE(u"a\u00A71234567897\u00A7b\r\nc;1234567897"), kSectionSign,
     InputState::Read, LE(u"a\u00A71234567897\u00A7b\r\n"), LE(u"c;1234567897\r\n")},
    {"LE quoted fields", LE(u"\"1\";\"1234567897\"\r\n\"\";\"\"\r\n"), kSecondQuoted,
     InputState::Read, LE(u"\"1\";\"1234567897\"\r\n"), LE(u"\"\";\"\"\r\n")},
    // Units whose low byte is CR, ';' or a digit: only whole units count.
    {"LE units that hold a line end's or a digit's byte",
     LE(u"\u010D;1234567897\r\nx\u013B1234567897\r\n123456789\u0137\r\n"), kSecondField,
     InputState::Read, LE(u"\u010D;1234567897\r\n"),
     LE(u"x\u013B1234567897\r\n123456789\u0137\r\n")},
    {"LE ten digits and a non-digit unit", LE(u"123456789\u0137\r\n1234567897"), kSingle,
     InputState::Read, LE(u"1234567897\r\n"), LE(u"123456789\u0137\r\n")},
    // UTF-16 BE
    {"BE mark only", kBE, kSingle, InputState::Read, kBE, kBE},
    {"BE CR, LF and CR LF mixed", BE(u"1234567897\rx\n1234567890\r\n9876543213"), kSingle,
     InputState::Read, BE(u"1234567897\r\n9876543213\r\n"), BE(u"x\r\n1234567890\r\n")},
    {"BE NUL mid-line", BE(u"ab\0cd\r\n1234567897"s), kSingle, InputState::Read, kBE, BE(u"ab\r\n"),
     1},
    {"BE odd length", BE(u"1") + "\0"s, kSingle, InputState::OddLength, "", ""},
    {"BE section sign delimiter", BE(u"\u0A0D\u00A71234567897\r\n"), kSectionSign, InputState::Read,
     BE(u"\u0A0D\u00A71234567897\r\n"), kBE},
    // UTF-32 in both byte orders, a UTF-16 LE mark followed by a NUL unit included
    {"UTF-32 LE", "\xFF\xFE\0\0"s + "1\0\0\0"s, kSingle, InputState::Utf32, "", ""},
    {"UTF-32 LE mark only", "\xFF\xFE\0\0"s, kSingle, InputState::Utf32, "", ""},
    {"UTF-32 BE", "\0\0\xFE\xFF"s + "\0\0\0001"s, kSingle, InputState::Utf32, "", ""},
    // UTF-8
    {"UTF-8 mark only", kUtf8, kSingle, InputState::Read, kUtf8, kUtf8},
    {"UTF-8 first line", kUtf8 + "1234567897\r\nx", kSingle, InputState::Read,
     kUtf8 + "1234567897\r\n", kUtf8 + "x\r\n"},
    {"UTF-8 multi-byte neighbours of the delimiter",
     kUtf8 + "\xC5\xBE;1234567897;\xC3\xA1\r\n\xE2\x82\xAC;1234567890", kSecondField,
     InputState::Read, kUtf8 + "\xC5\xBE;1234567897;\xC3\xA1\r\n",
     kUtf8 + "\xE2\x82\xAC;1234567890\r\n"},
    {"UTF-8 NUL mid-line", kUtf8 + "12\0x\r\n"s, kSingle, InputState::Read, kUtf8, kUtf8 + "12\r\n",
     1},
    // No mark: bytes as always, the start of a mark included.
    {"bytes",
     "\xEF\xBB"
     "1234567897\r\n\xFF",
     kSingle, InputState::Read, "",
     "\xEF\xBB"
     "1234567897\r\n\xFF\r\n"},
    {"bytes with a NUL", "1234567897\n\0\n"s, kSingle, InputState::Read, "1234567897\r\n", "", 2},
};

TEST(SortFile, ReadsTheInputAsItsMarkSaysWhereverTheReadsEnd) {
  for (const Case& c : kCases) {
    for (const std::size_t block :
         {std::size_t{1}, std::size_t{3}, std::size_t{7}, std::size_t{64}}) {
      for (const auto& pieces : {std::vector<std::size_t>{SIZE_MAX}, {1, 2}, {3}}) {
        test::TempFolder folder;
        folder.Write("ok.txt", "old ok");
        test::ChunkSource source(c.input, pieces);
        const FileSortResult sort =
            SortFile(source, TargetOf(folder.Path() / "ok.txt"),
                     TargetOf(folder.Path() / "bad.txt"), {c.rule, nullptr, false, block});
        const std::string where = std::string(c.name) + ", block " + std::to_string(block);
        ASSERT_EQ(sort.input, c.end) << where;
        if (c.end != InputState::Read) {
          EXPECT_EQ(folder.Read("ok.txt"), "old ok") << where;
          EXPECT_EQ(folder.EntryCount(), 1u) << where;  // no bad output, no temporary
          continue;
        }
        EXPECT_EQ(folder.Read("ok.txt"), c.ok) << where;
        EXPECT_EQ(folder.Read("bad.txt"), c.bad) << where;
        EXPECT_EQ(sort.sorted.nulLine, c.nulLine) << where;
      }
    }
  }
}

// Sorts one line and tells whether it went to the good output.
bool SortsAsGood(const std::string& input, const LineRule& rule) {
  test::TempFolder folder;
  test::ChunkSource source(input, {SIZE_MAX});
  const FileSortResult sort =
      SortFile(source, TargetOf(folder.Path() / "ok.txt"), TargetOf(folder.Path() / "bad.txt"),
               {rule, nullptr, false, 64});
  EXPECT_EQ(sort.input, InputState::Read);
  return sort.sorted.good == 1;
}

// The texts of an encoding: ASCII widened to units, or as bytes behind a mark.
std::string Encoded(TextEncoding encoding, const std::string& ascii) {
  const std::u16string units(ascii.begin(), ascii.end());
  switch (encoding) {
    case TextEncoding::Utf8:
      return kUtf8 + ascii;
    case TextEncoding::Utf16LE:
      return LE(units);
    case TextEncoding::Utf16BE:
      return BE(units);
    default:
      return ascii;
  }
}

// Only ten digits 0-9 are a number: a header cell, blanks or a sign pass no check digit, even
// where non-digits would weigh 0.
TEST(SortFile, TheGoodOutputHoldsOnlyTenDigitsThatPassTheCheck) {
  const std::pair<std::string, bool> numbers[] = {
      {"1234567897", true},  {"1234567890", false},  {"          ", false}, {"ABCDEFGHIJ", false},
      {"-123456782", false}, {"+123456782", false},  {"12345.6782", false}, {"\t123456782", false},
      {"123456782", false},  {"12345678970", false}, {"000000000x", false}, {"0000000000", true},
  };
  struct Layout {
    const char* name;
    LineRule rule;
    std::string before, after;
  };
  const Layout layouts[] = {{"whole line", kSingle, "", ""},
                            {"delimited", kSecondField, "a;", ";b"},
                            {"quoted", kSecondQuoted, "\"a\";\"", "\""}};
  for (const TextEncoding encoding :
       {TextEncoding::Bytes, TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
    for (const Layout& layout : layouts) {
      for (const auto& [number, good] : numbers) {
        const std::string line = layout.before + number + layout.after;
        EXPECT_EQ(SortsAsGood(Encoded(encoding, line + "\r\n"), layout.rule), good)
            << "'" << number << "' " << layout.name << ", encoding " << static_cast<int>(encoding);
      }
    }
  }
}

// In UTF-8 a delimiter is matched as its character's bytes, never as its Windows-1250 byte
// inside another letter (A7 in "ç", C3 A7).
TEST(SortFile, AUtf8DelimiterIsItsCharacter) {
  const struct {
    char delimiter;
    std::string line;
    bool good;
  } cases[] = {
      {'\xA7',
       "a\xC2\xA7"
       "1234567897",
       true},  // §
      {'\xA7',
       "\xC3\xA7\xC2\xA7"
       "1234567897",
       true},  // ç§
      {'\xA7',
       "\xC3\xA7"
       "1234567897",
       false},  // ç alone holds no §
      {'\xE9',
       "x\xC3\xA9"
       "1234567897\xC3\xA9y",
       true},  // é
      {'\xE9',
       "x\xE9"
       "1234567897",
       false},  // a Windows-1250 é is no UTF-8 é
      {'\t', "x\t1234567897\tz", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SortsAsGood(kUtf8 + c.line + "\r\n", LineRule{false, false, c.delimiter, 1}), c.good)
        << c.line;
  }
  // Without a mark the same byte is the delimiter, as in any Windows-1250 export.
  EXPECT_TRUE(
      SortsAsGood("\xC3\xA7"
                  "1234567897\r\n",
                  LineRule{false, false, '\xA7', 1}));
}

TEST(MarkOf, TellsTheEncodingFromTheFirstBytes) {
  const std::pair<std::string, TextEncoding> cases[] = {
      {"", TextEncoding::Bytes},
      {"\xEF\xBB", TextEncoding::Bytes},
      {"\xEF\xBB\xBF", TextEncoding::Utf8},
      {"\xFF\xFE", TextEncoding::Utf16LE},
      {"\xFF\xFE\0"s, TextEncoding::Utf16LE},
      {"\xFF\xFE\0\0"s, TextEncoding::Utf32},
      {"\xFE\xFF\0\0"s, TextEncoding::Utf16BE},
      {"\0\0\xFE\xFF"s, TextEncoding::Utf32},
      {"\0\0\xFE"s, TextEncoding::Bytes},
  };
  for (const auto& [start, encoding] : cases) EXPECT_EQ(MarkOf(start).encoding, encoding) << start;
}

}  // namespace
}  // namespace sipo
