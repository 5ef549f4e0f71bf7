// sipo_number.cpp - the SIPO check-digit test and the five-way classification of an entered text.
#include "core/sipo_number.h"

#include <array>

#include "core/lenient_conversions.h"

namespace sipo {
namespace {

constexpr std::array<int, 9> kWeights = {3, 7, 3, 1, 7, 3, 1, 7, 3};

// The value a single character converts to: only a decimal digit is not 0.
int DigitValue(char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

struct StatusLook {
  std::string_view text;
  Colour colour;
};

// Indexed by StatusClass. The texts are Windows-1250 bytes.
constexpr std::array<StatusLook, 5> kLooks = {{
    {"", kBlack},
    {"nen\xED \xE8\xEDslo", kYellow},           // není číslo
    {"ne\xFApln\xE9 \xE8\xEDslo", kYellow},     // neúplné číslo
    {"platn\xE9 \xE8\xEDslo", kGreen},          // platné číslo
    {"neplatn\xE9 \xE8\xEDslo", kRed},          // neplatné číslo
}};

}  // namespace

bool IsValidSipoNumber(std::string_view text) {
  if (text.size() != kSipoLength) return false;
  int sum = 0;
  for (std::size_t i = 0; i < kWeights.size(); ++i) sum += kWeights[i] * DigitValue(text[i]);
  const int remainder = sum % 10;
  // A remainder of 0 leaves the tenth character free, even a non-digit.
  return remainder == 0 || DigitValue(text[9]) == 10 - remainder;
}

StatusClass ClassifyNumberText(std::string_view text, char decimalSeparator) {
  if (TrimControl(text).empty()) return StatusClass::Empty;
  if (StrToRealLenient(text.substr(0, kConversionWindow), decimalSeparator).IsZero()) {
    return StatusClass::NotANumber;
  }
  if (text.size() < kSipoLength) return StatusClass::Incomplete;
  return IsValidSipoNumber(text) ? StatusClass::Valid : StatusClass::Invalid;
}

std::string_view StatusText(StatusClass status) {
  return kLooks[static_cast<std::size_t>(status)].text;
}

Colour StatusColour(StatusClass status) { return kLooks[static_cast<std::size_t>(status)].colour; }

}  // namespace sipo
