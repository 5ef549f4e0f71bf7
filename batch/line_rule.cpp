// line_rule.cpp - which lines of a file run go to the good output.
#include "batch/line_rule.h"

#include "core/codepage1250.h"
#include "core/sipo_number.h"

namespace sipo {

bool LineHasValidNumber(std::string_view line, bool singleColumn, bool quoted, char delimiter,
                        std::int32_t column, FieldList& fields) {
  if (singleColumn) return IsValidSipoNumber(line);
  if (quoted) {
    SplitQuoted(line, fields);
  } else {
    SplitDelimited(delimiter, line, fields);
  }
  if (column < 0 || static_cast<std::size_t>(column) >= fields.size()) return false;
  return IsValidSipoNumber(fields[static_cast<std::size_t>(column)]);
}

unsigned DelimiterUnit(char delimiter) {
  const std::u16string unit = Cp1250ToUtf16(std::string_view(&delimiter, 1));
  return unit.empty() ? 0 : unit.front();
}

}  // namespace sipo
