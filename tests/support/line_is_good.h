// line_is_good.h - the reference rule for a line in any encoding, which the tests and the fuzz
// target hold the file run's line loop to.
#pragma once

#include <cstdint>
#include <string_view>

#include "batch/line_rule.h"
#include "batch/text_units.h"

namespace sipo::test {

// The reference rule for a line of units in any encoding: LineHasValidNumber, which reads
// Windows-1250 bytes alone, stated again for UTF-8 and UTF-16 lines. Goes straight to the one
// field that counts; fields are cut at the delimiter or taken from between quotes, as
// SplitDelimited and SplitQuoted find them. Tests hold it to LineHasValidNumber and the line loop
// to it.
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

}  // namespace sipo::test
