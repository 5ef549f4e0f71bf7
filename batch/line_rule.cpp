// line_rule.cpp - which lines of a file run go to the good output.
#include "batch/line_rule.h"

#include "core/codepage1250.h"
#include "core/sipo_number.h"

namespace sipo {

bool LineHasValidNumber(std::string_view line, bool singleColumn, bool quoted, char delimiter,
                        std::int32_t column, FieldList& fields) {
  if (singleColumn) return IsWellFormedSipoNumber(line);
  if (quoted) {
    SplitQuoted(line, fields);
  } else {
    SplitDelimited(delimiter, line, fields);
  }
  if (column < 0 || static_cast<std::size_t>(column) >= fields.size()) return false;
  return IsWellFormedSipoNumber(fields[static_cast<std::size_t>(column)]);
}

TextDelimiter DelimiterIn(TextEncoding encoding, char cp1250Delimiter) {
  const std::string_view byte(&cp1250Delimiter, 1);
  const std::u16string unit = Cp1250ToUtf16(byte);
  TextDelimiter delimiter;
  delimiter.unit = unit.empty() ? 0 : unit.front();
  const std::string bytes = encoding == TextEncoding::Utf8 ? Cp1250ToUtf8(byte) : std::string(byte);
  delimiter.size = bytes.empty() || bytes.size() > sizeof delimiter.bytes ? 1 : bytes.size();
  bytes.copy(delimiter.bytes, delimiter.size);
  if (bytes.empty()) delimiter.bytes[0] = cp1250Delimiter;
  return delimiter;
}

}  // namespace sipo
