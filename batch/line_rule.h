// line_rule.h - which lines of a file run go to the good output: those whose number, the whole
// line or one field of it, is ten decimal digits that pass the check digit.
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
// field: the plain statement of the rule that the run's own search is held to.
bool LineHasValidNumber(std::string_view line, bool singleColumn, bool quoted, char delimiter,
                        std::int32_t column, FieldList& fields);

// The delimiter byte and column of a run, derived once from its options.
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

// As LineHasValidNumber for a line of units, but goes straight to the one field that counts
// instead of listing them all: the file run tests millions of lines. Fields are cut at the
// delimiter or taken from between quotes, as SplitDelimited and SplitQuoted find them.
template <class Units>
bool LineIsGood(std::string_view line, const LineRule& rule, const TextDelimiter& delimiter) {
  constexpr std::size_t k = Units::kSize;
  const char* p = line.data();
  const char* const end = p + line.size();
  if (rule.singleColumn) return IsSipoNumberIn<Units>(p, end);
  if (rule.column < 0) return false;
  if (rule.quoted) {
    // The texts between pairs of quotes: skip column pairs, then take the next pair.
    for (std::int32_t i = 0; i <= rule.column; ++i) {
      const char* open = Units::Find(p, end, '"');
      if (open == end) return false;
      const char* close = Units::Find(open + k, end, '"');
      if (close == end) return false;
      if (i == rule.column) return IsSipoNumberIn<Units>(open + k, close);
      p = close + k;
    }
    return false;
  }
  for (std::int32_t i = 0; i < rule.column; ++i) {
    const char* at = Units::FindDelimiter(p, end, delimiter);
    if (at == end) return false;
    p = at + Units::DelimiterSize(delimiter);
  }
  // A delimiter at the very end opens no empty last field.
  if (p == end) return false;
  return IsSipoNumberIn<Units>(p, Units::FindDelimiter(p, end, delimiter));
}

}  // namespace sipo
