// Tests of the SIPO check-digit test and the five-way classification.
#include "core/sipo_number.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <utility>

#include "core/codepage1250.h"
#include "tests/support/verdict_table.h"

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

// The shared table: what every other way of checking must also say of these texts.
TEST(ClassifyNumberText, GivesTheOneVerdictOfEveryWayOfChecking) {
  for (const test::VerdictCase& c : test::kVerdictCases) {
    for (const char separator : {',', '.'}) {
      if (!test::VerdictAppliesTo(c, separator)) continue;
      const StatusClass actual = ClassifyNumberText(c.text, separator);
      EXPECT_EQ(actual, c.verdict) << "'" << c.text << "' with '" << separator << "': expected "
                                   << Name(c.verdict) << ", got " << Name(actual);
      // Valid exactly when a file run would take the text as a good number.
      EXPECT_EQ(actual == StatusClass::Valid, IsWellFormedSipoNumber(c.text)) << c.text;
    }
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

// Each class shows the status text and colour it is given, byte for byte: Windows-1250 texts
// without blanks around them, and colours as 0x00BBGGRR.
TEST(StatusLook, EachClassShowsItsGivenTextAndColour) {
  struct Given {
    StatusClass status;
    std::string text;
    std::size_t bytes;
    Colour colour;
  };
  const Given given[] = {
      {StatusClass::Empty, "", 0, 0x000000},
      {StatusClass::NotANumber, "nen\xED \xE8\xEDslo", 10, 0x00FFFF},        // není číslo
      {StatusClass::Incomplete, "ne\xFApln\xE9 \xE8\xEDslo", 13, 0x00FFFF},  // neúplné číslo
      {StatusClass::Valid, "platn\xE9 \xE8\xEDslo", 12, 0x008000},           // platné číslo
      {StatusClass::Invalid, "neplatn\xE9 \xE8\xEDslo", 14, 0x0000FF},       // neplatné číslo
  };
  for (const Given& g : given) {
    EXPECT_EQ(StatusText(g.status), g.text) << Name(g.status);
    EXPECT_EQ(StatusText(g.status).size(), g.bytes) << Name(g.status);
    EXPECT_EQ(StatusColour(g.status), g.colour) << Name(g.status);
  }
  // The list the windows draw from holds the same, one row per class in the classes' order.
  ASSERT_EQ(StatusLooks().size(), std::size(given));
  for (std::size_t i = 0; i < std::size(given); ++i) {
    EXPECT_EQ(StatusLooks()[i].status, given[i].status);
    EXPECT_EQ(StatusLooks()[i].text, given[i].text);
    EXPECT_EQ(StatusLooks()[i].colour, given[i].colour);
  }
}

}  // namespace
}  // namespace sipo
