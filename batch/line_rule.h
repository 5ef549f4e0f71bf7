// line_rule.h - which lines of a file run go to the good output: the number taken from the whole
// line or from one field, tested by its check digit alone.
#pragma once

#include <cstdint>
#include <string_view>

#include "batch/field_split.h"

namespace sipo {

// Whether the line's number (the whole line, or the field at the column) passes the check digit.
// A column outside the field list, a negative one included, gives false.
bool LineHasValidNumber(std::string_view line, bool singleColumn, bool sylk, char delimiter,
                        std::int32_t column, FieldList& fields);

// The delimiter byte and column of a run, derived once from its options.
struct LineRule {
  bool singleColumn = false;
  bool sylk = false;
  char delimiter = ';';
  std::int32_t column = 0;
};

inline bool LineIsGood(std::string_view line, const LineRule& rule, FieldList& fields) {
  return LineHasValidNumber(line, rule.singleColumn, rule.sylk, rule.delimiter, rule.column,
                            fields);
}

}  // namespace sipo
