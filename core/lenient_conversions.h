// lenient_conversions.h - text/number conversions that never fail outward (a failure gives 0).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sipo {

// Number conversions look at no more than this many leading characters of a text.
inline constexpr std::size_t kConversionWindow = 255;

// 32-bit integer in decimal or hexadecimal ('$1F', 'x1F', '0x1F', '1Fh'); 0 when the text fails.
std::int32_t StrToIntLenient(std::string_view text);

// The same without the 'h' suffix form, as the settings file reads its integers.
std::int32_t StrToIntNoSuffix(std::string_view text);

// What a real conversion found. The kind is decided exactly, on the decimal digits, against the
// limits of the 80-bit extended format, whatever the platform's long double is.
enum class RealKind { Zero, Finite, Infinite };

struct ExtendedReal {
  RealKind kind = RealKind::Zero;
  bool negative = false;
  // Nearest long double; on a platform with a narrower long double it may saturate.
  long double value = 0.0L;

  bool IsZero() const { return kind == RealKind::Zero; }
};

// Real number with the user's decimal separator; failure, zero and underflow all give Zero.
ExtendedReal StrToRealLenient(std::string_view text, char decimalSeparator);

// Drops every byte of code 0x20 or below from both ends.
std::string_view TrimControl(std::string_view text);

std::string IntToStrPlain(std::int32_t value);

}  // namespace sipo
