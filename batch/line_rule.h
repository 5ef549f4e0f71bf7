// line_rule.h - which lines of a file run go to the good output: the number taken from the whole
// line or from one field, tested by its check digit alone.
#pragma once

#include <cstdint>
#include <string_view>

#include "batch/field_split.h"
#include "batch/text_units.h"
#include "core/sipo_number.h"
#include "files/byte_scan.h"

namespace sipo {

// Whether the line's number (the whole line, or the field at the column) passes the check digit.
// A column outside the field list, a negative one included, gives false.
bool LineHasValidNumber(std::string_view line, bool singleColumn, bool quoted, char delimiter,
                        std::int32_t column, FieldList& fields);

// The delimiter byte and column of a run, derived once from its options.
struct LineRule {
  bool singleColumn = false;
  bool quoted = false;
  char delimiter = ';';
  std::int32_t column = 0;
};

// As LineHasValidNumber, but goes straight to the one field that counts instead of listing them
// all: the file run tests millions of lines. The fields it finds are those of SplitDelimited and
// SplitQuoted.
inline bool LineIsGood(std::string_view line, const LineRule& rule) {
  if (rule.singleColumn) return IsValidSipoNumber(line);
  if (rule.column < 0) return false;
  const char* p = line.data();
  const char* const end = p + line.size();
  if (rule.quoted) {
    // The texts between pairs of quotes: skip column pairs, then take the next pair.
    for (std::int32_t i = 0; i <= rule.column; ++i) {
      const char* open = FindByte(p, end, '"');
      if (open == end) return false;
      const char* close = FindByte(open + 1, end, '"');
      if (close == end) return false;
      if (i == rule.column) {
        return IsValidSipoNumber(
            std::string_view(open + 1, static_cast<std::size_t>(close - open - 1)));
      }
      p = close + 1;
    }
    return false;
  }
  for (std::int32_t i = 0; i < rule.column; ++i) {
    const char* at = FindByte(p, end, rule.delimiter);
    if (at == end) return false;
    p = at + 1;
  }
  // A delimiter at the very end opens no empty last field.
  if (p == end) return false;
  return IsValidSipoNumber(
      std::string_view(p, static_cast<std::size_t>(FindByte(p, end, rule.delimiter) - p)));
}

// The number of a UTF-16 line: ten units, each a digit 0-9 or counted as not a digit, under the
// same check-digit rule as bytes.
template <class Units>
bool IsValidSipoUnits(const char* p, const char* end) {
  if (static_cast<std::size_t>(end - p) != kSipoLength * Units::kSize) return false;
  char digits[kSipoLength];
  for (std::size_t i = 0; i < kSipoLength; ++i) {
    const unsigned unit = Units::At(p + i * Units::kSize);
    digits[i] = unit >= '0' && unit <= '9' ? static_cast<char>(unit) : 'x';
  }
  return IsValidSipoNumber(std::string_view(digits, kSipoLength));
}

// The delimiter byte as the Windows-1250 character it stands for, as a UTF-16 unit.
unsigned DelimiterUnit(char delimiter);

// As LineIsGood for a line of units: fields are cut at the delimiter unit or taken from between
// quote units, by the same rules as bytes.
template <class Units>
bool LineIsGoodIn(std::string_view line, const LineRule& rule, unsigned delimiter) {
  constexpr std::size_t k = Units::kSize;
  const char* p = line.data();
  const char* const end = p + line.size();
  if (rule.singleColumn) return IsValidSipoUnits<Units>(p, end);
  if (rule.column < 0) return false;
  if (rule.quoted) {
    for (std::int32_t i = 0; i <= rule.column; ++i) {
      const char* open = Units::Find(p, end, '"');
      if (open == end) return false;
      const char* close = Units::Find(open + k, end, '"');
      if (close == end) return false;
      if (i == rule.column) return IsValidSipoUnits<Units>(open + k, close);
      p = close + k;
    }
    return false;
  }
  for (std::int32_t i = 0; i < rule.column; ++i) {
    const char* at = Units::Find(p, end, delimiter);
    if (at == end) return false;
    p = at + k;
  }
  if (p == end) return false;
  return IsValidSipoUnits<Units>(p, Units::Find(p, end, delimiter));
}

}  // namespace sipo
