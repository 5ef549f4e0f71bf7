// Tests of the lenient integer and real conversions, TrimControl and IntToStrPlain.
#include "core/lenient_conversions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace sipo {
namespace {

using namespace std::string_literals;

struct IntCase {
  std::string text;
  std::int32_t expected;
};

TEST(StrToIntLenient, ConvertsEveryFormAndFailsToZero) {
  const IntCase cases[] = {
      {" 42 ", 42},
      {"00012", 12},
      {"-5", -5},
      {"+5", 5},
      {"-0", 0},
      {"0x1F", 31},
      {"0X1f", 31},
      {"$1F", 31},
      {"x1F", 31},
      {"X1F", 31},
      {"1Fh", 31},
      {"1FH", 31},
      {"10h", 16},
      {"ffh", 255},
      {"0h", 0},
      {"abch", 2748},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"0000000000002147483647", INT32_MAX},
      {"$7FFFFFFF", INT32_MAX},
      {"$80000000", INT32_MIN},
      {"$FFFFFFFF", -1},
      {"FFFFFFFFh", -1},
      {"$000000000FF", 255},
      // Failures.
      {"2147483648", 0},
      {"-2147483649", 0},
      {"99999999999999999999", 0},
      {"$100000000", 0},
      {"abc", 0},
      {"h", 0},
      {" h", 0},
      {"-12h", 0},
      {"-5h", 0},
      {"12 h", 0},
      {"1F h", 0},
      {"0x1Fh", 0},
      {"$1Fh", 0},
      {"-", 0},
      {"+", 0},
      {"$", 0},
      {"x", 0},
      {"0x", 0},
      {"", 0},
      {std::string(255, ' '), 0},
      {"-$1F", 0},
      {"+0x1F", 0},
      {"$-1", 0},
      {"1e3", 0},
      {"12.0", 0},
      {"1,0", 0},
      {"1 2", 0},
      {"\t5", 0},
      {"5\t", 0},
      {"5\n", 0},
      {"\xA0"
       "5",
       0},
      // A NUL ends the body; the suffix test still sees the last character of the whole text.
      {"12\0abc"s, 12},
      {"1F\0h"s, 31},
      {"\0"s, 0},
      {"\0h"s, 0},
      {"5 \0"s, 0},
      {"5\0 "s, 5},
      // Only the first 255 characters count.
      {"7" + std::string(254, ' ') + "x", 7},
      {std::string(254, ' ') + "12", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StrToIntLenient(c.text), c.expected) << "text '" << c.text << "'";
  }
}

TEST(StrToIntLenient, SingleCharacterIsItsDigitValueOrZero) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string text(1, static_cast<char>(byte));
    const int expected = byte >= '0' && byte <= '9' ? byte - '0' : 0;
    EXPECT_EQ(StrToIntLenient(text), expected) << "byte " << byte;
  }
}

TEST(StrToIntNoSuffix, HasNoSuffixFormButKeepsPrefixes) {
  const IntCase cases[] = {{"0x10", 16}, {"$10", 16},  {"-3", -3}, {"1Fh", 0},
                           {"10H", 0},   {"12abc", 0}, {"", 0},    {" 7 ", 7}};
  for (const auto& c : cases) EXPECT_EQ(StrToIntNoSuffix(c.text), c.expected) << c.text;
}

struct RealCase {
  std::string text;
  char separator;
  long double expected;  // compared with a relative tolerance
};

TEST(StrToRealLenient, ReadsNumbersWithTheDecimalSeparator) {
  const RealCase cases[] = {
      {"12,5", ',', 12.5L},
      {"12.5", ',', 12.5L},
      {"1e3", ',', 1000},
      {" 42 ", ',', 42},
      {"+5", ',', 5},
      {".5", ',', 0.5L},
      {"5.", ',', 5},
      {"5,", ',', 5},
      {",5", ',', 0.5L},
      {"-.5", ',', -0.5L},
      {"5.e3", ',', 5000},
      {"5.", '.', 5},
      {"12345.6786", '.', 12345.6786L},
      {"1E+2", ',', 100},
      {"25e-1", ',', 2.5L},
      {"1" + std::string(254, ' ') + "x", ',', 1},  // the 'x' is the 256th character
      {"7\0garbage"s, ',', 7},
      {"0.000000000000000000000000000001e30", ',', 1},
  };
  for (const auto& c : cases) {
    const ExtendedReal r = StrToRealLenient(c.text, c.separator);
    EXPECT_EQ(r.kind, RealKind::Finite) << c.text;
    EXPECT_NEAR(static_cast<double>(r.value), static_cast<double>(c.expected),
                1e-12 * std::fabs(static_cast<double>(c.expected)))
        << c.text;
  }
}

TEST(StrToRealLenient, FailuresAndZerosGiveZero) {
  const std::pair<std::string, char> cases[] = {
      {"0", ','},
      {"-0", ','},
      {"000", ','},
      {"0,0", ','},
      {"e5", ','},
      {".", ','},
      {"", ','},
      {"   ", ','},
      {"1,5,3", ','},
      {"1.5.3", ','},
      {"1e", ','},
      {"1e+", ','},
      {",", ','},
      {"-", ','},
      {"+", ','},
      {"e", ','},
      {"1e5.5", ','},
      {"1 000", ','},
      {"0x1F", ','},
      {"1Fh", ','},
      {"$1F", ','},
      {"abc", ','},
      {"inf", ','},
      {"nan", ','},
      {"\t5", ','},
      {"5\t", ','},
      {"12,5", '.'},
      {".", '.'},
      {"1 23456789", ','},
      {"123456789e", ','},
      {"1e4933", ','},
      {"1e5000", ','},
      {"-1e4933", ','},
      {"1e-5000", ','},
      {"1e-4952", ','},
      {"\0"
       "5"s,
       ','},
      {"5 \0"s, ','},
  };
  for (const auto& [text, separator] : cases) {
    const ExtendedReal r = StrToRealLenient(text, separator);
    EXPECT_TRUE(r.IsZero()) << "'" << text << "' with '" << separator << "'";
    EXPECT_EQ(r.value, 0.0L) << text;
  }
}

TEST(StrToRealLenient, RangeLimitsOfTheExtendedFormat) {
  // Largest finite value 1.18973149535723176502e4932; below it still converts.
  EXPECT_EQ(StrToRealLenient("1e4932", ',').kind, RealKind::Finite);
  EXPECT_EQ(StrToRealLenient("1.18973149535723176502e4932", ',').kind, RealKind::Finite);
  EXPECT_EQ(StrToRealLenient("1.1897314953572317651e4932", ',').kind, RealKind::Zero);
  EXPECT_EQ(StrToRealLenient("1189731495357231765e4914", ',').kind, RealKind::Finite);
  EXPECT_EQ(StrToRealLenient("119e4930", ',').kind, RealKind::Zero);
  // The scale exponent decides, so a long mantissa with a small exponent stays finite.
  EXPECT_EQ(StrToRealLenient(std::string(200, '9') + "e4732", ',').kind, RealKind::Finite);
  EXPECT_EQ(StrToRealLenient(std::string(200, '9') + "e4733", ',').kind, RealKind::Zero);
  // Smallest non-zero value 3.64519953188247460253e-4951.
  EXPECT_EQ(StrToRealLenient("1e-4900", ',').kind, RealKind::Finite);
  EXPECT_EQ(StrToRealLenient("3.6452e-4951", ',').kind, RealKind::Finite);
  EXPECT_EQ(StrToRealLenient("3.6451e-4951", ',').kind, RealKind::Zero);
  EXPECT_EQ(StrToRealLenient("3.64519953188247460252840593361941981639e-4951", ',').kind,
            RealKind::Zero);
  // Scale exponents of 5120 and beyond: infinity whatever the digits, even zero.
  for (const char* text : {"1e6000", "0e6000", "e5120", "0.0e5121", "1e99999999999999999999"}) {
    const ExtendedReal r = StrToRealLenient(text, ',');
    EXPECT_EQ(r.kind, RealKind::Infinite) << text;
    EXPECT_FALSE(r.negative) << text;
  }
  const ExtendedReal negative = StrToRealLenient("-1e6000", ',');
  EXPECT_EQ(negative.kind, RealKind::Infinite);
  EXPECT_TRUE(negative.negative);
  EXPECT_TRUE(std::isinf(negative.value) && negative.value < 0);
  // The exponent's value minus the fraction digits is the scale: 1e5119 with one fraction digit.
  EXPECT_EQ(StrToRealLenient("0.1e5120", ',').kind, RealKind::Zero);  // 1e5119 overflows
  EXPECT_EQ(StrToRealLenient("10e-5120", ',').kind, RealKind::Zero);
}

TEST(StrToRealLenient, ExtremeValuesAreNearTheirTrueValue) {
  if (sizeof(long double) * 8 < 80 || LDBL_MAX_EXP < 16384) GTEST_SKIP() << "no 80-bit format";
  const long double big = StrToRealLenient("1e4932", ',').value;
  EXPECT_NEAR(static_cast<double>(big / 1e4932L), 1.0, 1e-15);
  const long double tiny = StrToRealLenient("1e-4900", ',').value;
  EXPECT_NEAR(static_cast<double>(tiny / 1e-4900L), 1.0, 1e-15);
  const ExtendedReal minusZero = StrToRealLenient("-0", ',');
  EXPECT_TRUE(minusZero.IsZero());
  EXPECT_TRUE(std::signbit(minusZero.value));
}

TEST(TrimControl, RemovesControlsAndBlanksFromBothEnds) {
  EXPECT_EQ(TrimControl("\t 12 \r\n"), "12");
  EXPECT_EQ(TrimControl("\xA0"
                        "12\xA0"),
            "\xA0"
            "12\xA0");
  EXPECT_EQ(TrimControl(""), "");
  EXPECT_EQ(TrimControl("\0\x01 \x1F"s), "");
  EXPECT_EQ(TrimControl("\0a\0b\0"s), "a\0b"s);
}

TEST(IntToStrPlain, WritesPlainDecimal) {
  EXPECT_EQ(IntToStrPlain(0), "0");
  EXPECT_EQ(IntToStrPlain(-1), "-1");
  EXPECT_EQ(IntToStrPlain(INT32_MAX), "2147483647");
  EXPECT_EQ(IntToStrPlain(INT32_MIN), "-2147483648");
}

}  // namespace
}  // namespace sipo
