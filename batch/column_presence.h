// column_presence.h - whether a line has the column a run takes its number from at all: a run in
// which no line has it was most likely given a column counted from one.
#pragma once

#include <string_view>

#include "batch/line_rule.h"

namespace sipo {

// Whether the field at the rule's column exists, cut as LineIsGood cuts it: the column-th text
// between a pair of quotes, or the column-th field between delimiters (a delimiter at the very end
// opens no field). The whole line is always there.
template <class Units>
bool LineHasColumn(std::string_view line, const LineRule& rule, const TextDelimiter& delimiter) {
  constexpr std::size_t k = Units::kSize;
  const char* p = line.data();
  const char* const end = p + line.size();
  if (rule.singleColumn) return true;
  if (rule.column < 0) return false;
  if (rule.quoted) {
    for (std::int32_t i = 0; i <= rule.column; ++i) {
      const char* open = Units::Find(p, end, '"');
      if (open == end) return false;
      const char* close = Units::Find(open + k, end, '"');
      if (close == end) return false;
      p = close + k;
    }
    return true;
  }
  for (std::int32_t i = 0; i < rule.column; ++i) {
    const char* at = Units::FindDelimiter(p, end, delimiter);
    if (at == end) return false;
    p = at + Units::DelimiterSize(delimiter);
  }
  return p != end;
}

}  // namespace sipo
