// line_rule.h - which lines of a file run go to the good output: those whose number, the whole
// line or one field of it, is ten decimal digits that pass the check digit. LineHasValidNumber
// states the rule plainly; a run applies it through its own line judge (line_judge.h), which the
// tests hold to this statement on every scan path.
#pragma once

#include <cstdint>
#include <string_view>

#include "batch/field_split.h"
#include "batch/text_mark.h"
#include "batch/text_units.h"
#include "core/sipo_number.h"

namespace sipo {

// Whether the line's number (the whole line, or the field at the column) is a well-formed SIPO
// number. A column outside the field list, a negative one included, gives false. Lists every
// field: the plain statement of the rule, the reference the line loop is tested against (a run
// itself does not call it).
bool LineHasValidNumber(std::string_view line, bool singleColumn, bool quoted, char delimiter,
                        std::int32_t column, FieldList& fields);

// The layout of a run's lines, derived once from its options.
struct LineRule {
  bool singleColumn = false;
  bool quoted = false;
  char delimiter = ';';
  std::int32_t column = 0;
};

// The Windows-1250 delimiter as a text in this encoding spells it.
TextDelimiter DelimiterIn(TextEncoding encoding, char cp1250Delimiter);

// Ten units, each a digit 0-9, that pass the check digit.
template <class Units>
bool IsSipoNumberIn(const char* p, const char* end) {
  if (static_cast<std::size_t>(end - p) != kSipoLength * Units::kSize) return false;
  char digits[kSipoLength];
  for (std::size_t i = 0; i < kSipoLength; ++i) {
    const unsigned unit = Units::At(p + i * Units::kSize);
    if (unit < '0' || unit > '9') return false;
    digits[i] = static_cast<char>(unit);
  }
  return IsValidSipoNumber(std::string_view(digits, kSipoLength));
}

}  // namespace sipo
