// number_fuzz.cpp - libFuzzer target: the conversions and the classifier never crash and keep
// their invariants. The first byte is the decimal separator, the rest is the text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/codepage1250.h"
#include "core/lenient_conversions.h"
#include "core/sipo_number.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckClassification(std::string_view text, char separator) {
  using sipo::StatusClass;
  const StatusClass status = sipo::ClassifyNumberText(text, separator);
  const bool valid = sipo::IsValidSipoNumber(text);
  if (text.size() != sipo::kSipoLength) Require(!valid);
  Require((status == StatusClass::Empty) == sipo::TrimControl(text).empty());
  const bool wellFormed = sipo::IsWellFormedSipoNumber(text);
  Require(!wellFormed || valid);
  if (status == StatusClass::Valid) Require(wellFormed);
  if (status == StatusClass::Invalid) Require(!wellFormed || text.size() > sipo::kSipoLength);
  if (status == StatusClass::Incomplete) Require(text.size() < sipo::kSipoLength);
  if (status != StatusClass::Empty) {
    const bool zero = sipo::StrToRealLenient(text.substr(0, 255), separator).IsZero();
    Require(zero == (status == StatusClass::NotANumber));
  }
}

void CheckConversions(std::string_view text, char separator) {
  const std::int32_t n = sipo::StrToIntLenient(text);
  Require(n == sipo::StrToIntLenient(text.substr(0, sipo::kConversionWindow)));
  Require(sipo::StrToIntLenient(sipo::IntToStrPlain(n)) == n);
  const sipo::ExtendedReal r = sipo::StrToRealLenient(text, separator);
  if (r.kind == sipo::RealKind::Zero) Require(r.value == 0);
  if (r.kind == sipo::RealKind::Infinite) Require(std::isinf(r.value));
  if (r.kind == sipo::RealKind::Finite) Require(!std::isnan(r.value));
  const std::string_view trimmed = sipo::TrimControl(text);
  Require(sipo::TrimControl(trimmed) == trimmed);
  Require(sipo::Utf16ToCp1250(sipo::Cp1250ToUtf16(text)) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char separator = static_cast<char>(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  CheckConversions(text, separator);
  CheckClassification(text, separator);
  return 0;
}
