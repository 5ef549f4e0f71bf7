// Tests of cutting a line into fields at a delimiter or between double quotes.
#include "batch/field_split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sipo {
namespace {

using Fields = std::vector<std::string>;

Fields Delimited(char delimiter, std::string_view line) {
  FieldList fields;
  SplitDelimited(delimiter, line, fields);
  return Fields(fields.begin(), fields.end());
}

Fields Quoted(std::string_view line) {
  FieldList fields;
  SplitQuoted(line, fields);
  return Fields(fields.begin(), fields.end());
}

TEST(SplitDelimited, CutsAtEveryDelimiterByItsRules) {
  const std::pair<std::string, Fields> cases[] = {
      {"a;b;c", {"a", "b", "c"}},
      {"a;;c", {"a", "", "c"}},
      {";a", {"", "a"}},
      {"a;b;", {"a", "b"}},  // a delimiter at the very end opens no field
      {"a;b;;", {"a", "b", ""}},
      {"a;b;c;x", {"a", "b", "c", "x"}},
      {"x", {"x"}},
      {";", {""}},
      {"no delimiter here", {"no delimiter here"}},
      {"", {}},
      {"\"1;2\";3", {"\"1", "2\"", "3"}},  // quotes mean nothing here
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(Delimited(';', line), expected) << line;
  EXPECT_EQ(Delimited(' ', "12 34  5"), (Fields{"12", "34", "", "5"}));
  EXPECT_EQ(Delimited('\xE8',
                      "a\xE8"
                      "b"),
            (Fields{"a", "b"}));
}

TEST(SplitDelimited, ReusedListHoldsOnlyTheLastLine) {
  FieldList fields;
  SplitDelimited(';', "a;b;c;d;e", fields);
  SplitDelimited(';', "x", fields);
  EXPECT_EQ(Fields(fields.begin(), fields.end()), Fields{"x"});
  SplitQuoted("\"q\"", fields);
  EXPECT_EQ(Fields(fields.begin(), fields.end()), Fields{"q"});
}

TEST(SplitQuoted, TakesTheTextsBetweenPairsOfQuotes) {
  const std::pair<std::string, Fields> cases[] = {
      {"\"a\";\"b\"", {"a", "b"}},
      {"\"a\"xyz\"b\"", {"a", "b"}},
      {"\"a\"\"b\"", {"a", "b"}},  // a doubled quote is no escape
      {"\"\"", {" "}},             // an empty pair is one space
      {"x;\"\";\"b\"", {" ", "b"}},
      {"\"a\";\"unclosed", {"a"}},
      {"no quotes at all", {}},
      {"1234567897;\"1\";\"2\"", {"1", "2"}},  // an unquoted column takes no number
      {"\"\xE8\xED\xF8\"", {"\xE8\xED\xF8"}},
      {"\"a;b\"", {"a;b"}},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(Quoted(line), expected) << line;
}

}  // namespace
}  // namespace sipo
