// sipo_number.cpp - the SIPO check-digit test and the five-way classification of an entered text.
#include "core/sipo_number.h"

#include <array>

#include "core/lenient_conversions.h"
#include "core/sipo_weights.h"

namespace sipo {
namespace {

// The value a single character converts to: only a decimal digit is not 0. A table keeps the
// check free of branches, which matters when millions of lines are checked.
constexpr std::array<std::uint8_t, 256> kDigitValues = [] {
  std::array<std::uint8_t, 256> values{};
  for (int d = 0; d <= 9; ++d) values['0' + d] = static_cast<std::uint8_t>(d);
  return values;
}();

int DigitValue(char c) {
  return kDigitValues[static_cast<unsigned char>(c)];
}

// Indexed by StatusClass. The texts are Windows-1250 bytes.
constexpr std::array<StatusLook, 5> kLooks = {{
    {StatusClass::Empty, "", kBlack},
    {StatusClass::NotANumber, "nen\xED \xE8\xEDslo", kYellow},        // není číslo
    {StatusClass::Incomplete, "ne\xFApln\xE9 \xE8\xEDslo", kYellow},  // neúplné číslo
    {StatusClass::Valid, "platn\xE9 \xE8\xEDslo", kGreen},            // platné číslo
    {StatusClass::Invalid, "neplatn\xE9 \xE8\xEDslo", kRed},          // neplatné číslo
}};
static_assert(
    [] {
      for (std::size_t i = 0; i < kLooks.size(); ++i) {
        if (kLooks[i].status != static_cast<StatusClass>(i)) return false;
      }
      return true;
    }(),
    "each class's look is at its class's index");

}  // namespace

bool IsValidSipoNumber(std::string_view text) {
  if (text.size() != kSipoLength) return false;
  // The sum is unrolled by the compiler: no loop is left to branch on.
  int sum = 0;
  for (std::size_t i = 0; i < kSipoWeights.size(); ++i)
    sum += kSipoWeights[i] * DigitValue(text[i]);
  const int remainder = sum % 10;
  // A remainder of 0 leaves the tenth character free, even a non-digit.
  return (remainder == 0) | (DigitValue(text[9]) == 10 - remainder);
}

bool IsWellFormedSipoNumber(std::string_view text) {
  if (text.size() != kSipoLength) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return IsValidSipoNumber(text);
}

StatusClass ClassifyNumberText(std::string_view text, char decimalSeparator) {
  if (TrimControl(text).empty()) return StatusClass::Empty;
  if (StrToRealLenient(text.substr(0, kConversionWindow), decimalSeparator).IsZero()) {
    return StatusClass::NotANumber;
  }
  if (text.size() < kSipoLength) return StatusClass::Incomplete;
  // Only ten plain digits are a number: a blank, a sign, a point, a comma or an exponent reads
  // as part of a number above but is no digit, so such a text is invalid, as in a file run.
  return IsWellFormedSipoNumber(text) ? StatusClass::Valid : StatusClass::Invalid;
}

std::span<const StatusLook> StatusLooks() {
  return kLooks;
}

std::string_view StatusText(StatusClass status) {
  return kLooks[static_cast<std::size_t>(status)].text;
}

Colour StatusColour(StatusClass status) {
  return kLooks[static_cast<std::size_t>(status)].colour;
}

}  // namespace sipo
