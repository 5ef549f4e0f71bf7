// Tests of the clipboard list: a copied text into checked rows, and rows into quoted lines.
#include "batch/clipboard_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sipo {
namespace {

using namespace std::string_literals;

constexpr std::string_view kValidText = "platn\xE9 \xE8\xEDslo";  // platné číslo

struct ImportCase {
  std::string text;
  std::vector<std::string> numbers;
};

TEST(MultiImportRows, OneRowPerLineWhateverTheLineEnd) {
  const ImportCase cases[] = {
      {"", {}},
      {"\r\n", {""}},
      {"1234567897", {"1234567897"}},
      {"1234567897\r\n", {"1234567897"}},  // a trailing line end gives no extra row
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two line ends
      {" 1234567897 \r\n   \r\n", {" 1234567897 ", "   "}},
      {"12\0"
       "34\r\n56"s,
       {"12"}},  // a NUL ends the clipboard text
  };
  for (const auto& c : cases) {
    std::vector<std::string> numbers;
    for (const MultiRow& row : MultiImportRows(c.text, ',')) numbers.push_back(row.number);
    EXPECT_EQ(numbers, c.numbers) << "text '" << c.text << "'";
  }
}

TEST(MultiImportRows, EachRowCarriesItsClassTextAndColour) {
  const auto rows = MultiImportRows("1234567897\n1234567890\n12345\nabc\n   \n", ',');
  ASSERT_EQ(rows.size(), 5u);
  const StatusClass expected[] = {StatusClass::Valid, StatusClass::Invalid, StatusClass::Incomplete,
                                  StatusClass::NotANumber, StatusClass::Empty};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].status, StatusText(expected[i])) << "row " << i;
    EXPECT_EQ(rows[i].colour, StatusColour(expected[i])) << "row " << i;
  }
  EXPECT_EQ(rows[4].status, "");
  EXPECT_EQ(rows[4].colour, kBlack);
}

TEST(MultiImportRows, UsesTheDecimalSeparatorItIsGiven) {
  // '12345,6786' is a real with ',' and not a number with '.'.
  EXPECT_EQ(MultiImportRows("12345,6786", ',')[0].status,
            StatusText(ClassifyNumberText("12345,6786", ',')));
  EXPECT_EQ(MultiImportRows("12345,6786", '.')[0].status,
            StatusText(ClassifyNumberText("12345,6786", '.')));
}

TEST(MultiExportText, QuotedPairsEachEndedByCrLf) {
  const struct {
    std::vector<MultiRow> rows;
    std::string text;
  } cases[] = {
      {{}, ""},
      {{{"", "", kBlack}}, "\"\";\"\"\r\n"},
      {{{"1234567897", kValidText, kGreen}}, "\"1234567897\";\"platn\xE9 \xE8\xEDslo\"\r\n"},
      {{{" 12 ", "x", kYellow}, {"a\"b", "", kBlack}}, "\" 12 \";\"x\"\r\n\"a\"b\";\"\"\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(MultiExportText(c.rows), c.text);
}

TEST(MultiExportText, NineEmptyRowsGiveNineEmptyPairs) {
  const std::vector<MultiRow> rows(9);
  std::string expected;
  for (int i = 0; i < 9; ++i) expected += "\"\";\"\"\r\n";
  EXPECT_EQ(MultiExportText(rows), expected);
}

TEST(ClipboardList, ImportThenExportKeepsEveryByte) {
  const std::string text = "1234567897\r\n\"x\"\r\n \xE8\xED 1\r\n";
  EXPECT_EQ(MultiExportText(MultiImportRows(text, ',')),
            "\"1234567897\";\"platn\xE9 \xE8\xEDslo\"\r\n"
            "\"\"x\"\";\"nen\xED \xE8\xEDslo\"\r\n"
            "\" \xE8\xED 1\";\"nen\xED \xE8\xEDslo\"\r\n");
}

}  // namespace
}  // namespace sipo
