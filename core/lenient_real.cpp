// lenient_real.cpp - text to extended-precision real, with the user's decimal separator.
//
// Whether a text gives zero, a finite value or infinity is decided on its decimal digits against
// the limits of the 80-bit extended format, so the answer is the same on every platform. The
// long double value is computed afterwards and only approximates on narrower formats.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/lenient_conversions.h"

namespace sipo {
namespace {

// Scale exponents at or beyond this give infinity, at or below its negative give zero.
constexpr int kScaleLimit = 5120;

// Leading digits of the smallest decimal value that rounds beyond the largest extended value
// (1.18973...e4932 plus half a unit in the last place); its further digits are not all zero.
constexpr std::string_view kOverflowDigits =
    "1189731495357231765053511589829488667966254004695567218956499277562499181851727204760449442"
    "9045704613843305676461674432866625552674894879302363251360976543423772324175364890803620295"
    "84951246485605740928178136611230674219048500381811805207877203107268812398";
constexpr int kOverflowExponent = 4932;

// Leading digits of the smallest non-zero extended value, 2^-16445 (3.64519...e-4951).
constexpr std::string_view kUnderflowDigits =
    "3645199531882474602528405933619419816399050815693563343720980487028371688633397736809560708"
    "6258272051972473473472035311019669856326220321699735080755898090054838225811779316785692252"
    "63805633559756621562565983410728940319793553527268591240799954172811015518";
constexpr int kUnderflowExponent = -4951;

struct DecimalNumber {
  bool negative = false;
  std::array<char, kConversionWindow> digits{};  // integer and fraction digits, in order
  int digitCount = 0;
  int scale = 0;  // the value is digits * 10^scale
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads 'e'/'E', an optional sign and one or more digits; saturates far beyond the scale limit.
std::optional<int> ParseExponent(std::string_view text) {
  if (text.empty() || (text[0] != 'e' && text[0] != 'E')) return std::nullopt;
  text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = std::min(value * 10 + (c - '0'), 1'000'000);
  }
  return negative ? -value : value;
}

// Sign, integer digits, optional point and fraction digits, optional exponent; nothing else.
std::optional<DecimalNumber> ParseGrammar(std::string_view text) {
  DecimalNumber number;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    number.negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::size_t i = 0;
  int fractionDigits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) number.digits[number.digitCount++] = text[i];
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++fractionDigits) {
      number.digits[number.digitCount++] = text[i];
    }
  }
  int exponent = 0;
  if (i < text.size()) {
    const auto parsed = ParseExponent(text.substr(i));
    if (!parsed) return std::nullopt;
    exponent = *parsed;
  }
  number.scale = exponent - fractionDigits;
  return number;
}

// Compares significant digits with a limit's leading digits at the same decimal exponent.
// An equal prefix counts as smaller, since the limits go on with non-zero digits.
bool DigitsAbove(std::string_view significant, std::string_view limit) {
  for (std::size_t i = 0; i < significant.size(); ++i) {
    if (significant[i] != limit[i]) return significant[i] > limit[i];
  }
  return false;
}

RealKind KindOf(const DecimalNumber& number, bool& overflow) {
  overflow = false;
  if (number.scale >= kScaleLimit) return RealKind::Infinite;
  if (number.scale <= -kScaleLimit) return RealKind::Zero;
  std::string_view significant(number.digits.data(), number.digitCount);
  while (!significant.empty() && significant.front() == '0') significant.remove_prefix(1);
  if (significant.empty()) return RealKind::Zero;
  const int exponent10 = static_cast<int>(significant.size()) - 1 + number.scale;
  while (significant.back() == '0') significant.remove_suffix(1);
  if (number.scale > 0) {
    overflow = exponent10 > kOverflowExponent ||
               (exponent10 == kOverflowExponent && DigitsAbove(significant, kOverflowDigits));
    return overflow ? RealKind::Zero : RealKind::Finite;
  }
  if (number.scale < 0) {
    const bool underflow =
        exponent10 < kUnderflowExponent ||
        (exponent10 == kUnderflowExponent && !DigitsAbove(significant, kUnderflowDigits));
    if (underflow) return RealKind::Zero;
  }
  return RealKind::Finite;
}

long double ValueOf(const DecimalNumber& number) {
  long double mantissa = 0.0L;
  for (int i = 0; i < number.digitCount; ++i) mantissa = mantissa * 10 + (number.digits[i] - '0');
  int scale = number.scale;
  // Large negative scales are applied in steps so that 10^-scale itself never overflows.
  while (scale < -4000) {
    mantissa /= std::pow(10.0L, 4000);
    scale += 4000;
  }
  return scale >= 0 ? mantissa * std::pow(10.0L, scale) : mantissa / std::pow(10.0L, -scale);
}

// Trims blanks, applies the decimal separator and cuts at a NUL into the caller's buffer.
std::string_view Normalise(std::string_view text, char separator,
                           std::array<char, kConversionWindow>& buffer) {
  text = text.substr(0, kConversionWindow);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  std::size_t length = text.copy(buffer.data(), buffer.size());
  const std::size_t at = text.find(separator);
  if (at != std::string_view::npos) {
    if (at + 1 == length) {
      --length;
    } else {
      buffer[at] = '.';
    }
  }
  const std::string_view normalised(buffer.data(), length);
  return normalised.substr(0, normalised.find('\0'));
}

}  // namespace

ExtendedReal StrToRealLenient(std::string_view text, char decimalSeparator) {
  std::array<char, kConversionWindow> buffer;
  const bool blank = text.substr(0, kConversionWindow).find_first_not_of(' ') == text.npos;
  if (blank) return {};
  const auto number = ParseGrammar(Normalise(text, decimalSeparator, buffer));
  if (!number) return {};
  bool overflow = false;
  ExtendedReal result;
  result.kind = KindOf(*number, overflow);
  if (overflow) return {};
  result.negative = number->negative;
  if (result.kind == RealKind::Infinite) result.value = HUGE_VALL;
  if (result.kind == RealKind::Finite) result.value = ValueOf(*number);
  if (result.negative) result.value = -result.value;
  return result;
}

}  // namespace sipo
