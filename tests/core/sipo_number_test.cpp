// Tests of the SIPO check-digit test and the five-way classification.
#include "core/sipo_number.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <utility>

#include "core/codepage1250.h"

namespace sipo {
namespace {

using namespace std::string_literals;

const char* Name(StatusClass s) {
  static const char* const names[] = {"Empty", "NotANumber", "Incomplete", "Valid", "Invalid"};
  return names[static_cast<int>(s)];
}

struct ClassCase {
  std::string text;
  char separator;
  StatusClass expected;
};

TEST(ClassifyNumberText, SortsTextsIntoTheFiveClasses) {
  using S = StatusClass;
  const std::string long300 = "1" + std::string(254, ' ') + std::string(45, 'x');
  const ClassCase cases[] = {
      {"", ',', S::Empty},
      {"   ", ',', S::Empty},
      {"\t\r\n", ',', S::Empty},
      {"\0\0"s, ',', S::Empty},
      {"abc", ',', S::NotANumber},
      {"0", ',', S::NotANumber},
      {"-0", ',', S::NotANumber},
      {"0,0", ',', S::NotANumber},
      {"000", ',', S::NotANumber},
      {"0000000000", ',', S::NotANumber},
      {"abcdefghij", ',', S::NotANumber},
      {"\t123456789", ',', S::NotANumber},
      {"1 23456789", ',', S::NotANumber},
      {"123456789e", ',', S::NotANumber},
      {"12345,6786", '.', S::NotANumber},
      {"1e5000", ',', S::NotANumber},  // beyond the range: a failed conversion
      {"12345", ',', S::Incomplete},
      {"123456789", ',', S::Incomplete},
      {"1e9", ',', S::Incomplete},
      {"123", '.', S::Incomplete},
      {"1234567897", ',', S::Valid},
      {"9876543213", ',', S::Valid},
      {"5555555555", ',', S::Valid},
      {"0000000001", ',', S::Valid},
      {"2222222220", ',', S::Valid},
      {"2222222227", ',', S::Valid},
      {"-123456782", ',', S::Valid},
      {"12345.6786", ',', S::Valid},
      {"12345.6786", '.', S::Valid},
      {"12345,6786", ',', S::Valid},
      {"1234567890", ',', S::Invalid},
      {"12345678901", ',', S::Invalid},
      {" 1234567897", ',', S::Invalid},
      {"1234567897 ", ',', S::Invalid},
      {" 123456789", ',', S::Invalid},
      {long300, ',', S::Invalid},
      {"1e6000", ',', S::Incomplete},  // infinity is not zero
  };
  for (const auto& c : cases) {
    const StatusClass actual = ClassifyNumberText(c.text, c.separator);
    EXPECT_EQ(actual, c.expected) << "'" << c.text << "' with '" << c.separator << "': expected "
                                  << Name(c.expected) << ", got " << Name(actual);
  }
}

TEST(IsValidSipoNumber, WeightedCheckDigit) {
  const std::pair<std::string, bool> cases[] = {
      {"1234567897", true},
      {"1234567890", false},
      {"9876543213", true},
      {"5555555555", true},
      {"0000000000", true},
      {"0000000001", true},
      {"abcdefghij", true},
      {"000000000x", true},
      {"123456789x", false},
      {"1234567897 ", false},
      {"123456789", false},
      {"", false},
      {" 123456789", false},
      {" 123456782", true},
      {"-123456782", true},
      {"12345.6786", true},
      {"\xE8\xE8\xE8\xE8\xE8\xE8\xE8\xE8\xE8"
       "0",
       true},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(IsValidSipoNumber(text), expected) << text;
}

TEST(IsValidSipoNumber, ExactlyOneCheckDigitFitsEveryPrefix) {
  // For a nine-digit prefix whose weighted sum is not a multiple of ten exactly one digit fits;
  // otherwise all ten do. The weights come from the published rule, not from the code.
  const int weights[] = {3, 7, 3, 1, 7, 3, 1, 7, 3};
  for (const char* prefix : {"123456789", "987654321", "000000000", "111111111", "302010105"}) {
    int sum = 0;
    for (int i = 0; i < 9; ++i) sum += weights[i] * (prefix[i] - '0');
    int fits = 0;
    for (char d = '0'; d <= '9'; ++d) fits += IsValidSipoNumber(std::string(prefix) + d);
    EXPECT_EQ(fits, sum % 10 == 0 ? 10 : 1) << prefix;
  }
}

// The table is read, not typed out again: each class has its row, the accessors give that row,
// and what a row holds is checked for what it must be.
TEST(StatusLook, EachClassShowsItsRowOfTheTable) {
  const std::span<const StatusLook> looks = StatusLooks();
  ASSERT_EQ(looks.size(), 5u);
  for (std::size_t i = 0; i < looks.size(); ++i) {
    const StatusLook& look = looks[i];
    EXPECT_EQ(look.status, static_cast<StatusClass>(i)) << "row " << i;
    EXPECT_EQ(StatusText(look.status), look.text) << Name(look.status);
    EXPECT_EQ(StatusColour(look.status), look.colour) << Name(look.status);
  }
}

// Every text but Empty's is a Windows-1250 phrase ending in the word for number: its bytes come
// back unchanged through UTF-16, and they are no UTF-8.
TEST(StatusLook, TextsAreWindows1250Phrases) {
  for (const StatusLook& look : StatusLooks()) {
    if (look.status == StatusClass::Empty) {
      EXPECT_TRUE(look.text.empty());
      continue;
    }
    EXPECT_EQ(Utf16ToCp1250(Cp1250ToUtf16(look.text)), look.text) << Name(look.status);
    EXPECT_TRUE(Cp1250ToUtf8(look.text).ends_with(" \xC4\x8D\xC3\xADslo"))  // " číslo"
        << Name(look.status) << ": " << Cp1250ToUtf8(look.text);
  }
}

// A valid number is green, an invalid one red, a text that is not yet a number yellow, nothing
// black.
TEST(StatusLook, ColoursSayWhatTheClassMeans) {
  const std::pair<StatusClass, Colour> meanings[] = {
      {StatusClass::Empty, kBlack},       {StatusClass::NotANumber, kYellow},
      {StatusClass::Incomplete, kYellow}, {StatusClass::Valid, kGreen},
      {StatusClass::Invalid, kRed},
  };
  for (const auto& [status, colour] : meanings)
    EXPECT_EQ(StatusColour(status), colour) << Name(status);
}

}  // namespace
}  // namespace sipo
