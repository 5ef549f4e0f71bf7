// field_split.cpp - cuts a line into numbered fields, at a delimiter or between double quotes.
#include "batch/field_split.h"

#include "batch/byte_scan.h"

namespace sipo {

void SplitDelimited(char delimiter, std::string_view line, FieldList& fields) {
  fields.clear();
  const char* const begin = line.data();
  const char* const end = begin + line.size();
  const char* fieldStart = begin;
  ForEachByte(begin, end, delimiter, [&](const char* at) {
    fields.emplace_back(fieldStart, static_cast<std::size_t>(at - fieldStart));
    fieldStart = at + 1;
  });
  // A delimiter at the very end closes the last field without opening another.
  if (fieldStart < end) fields.emplace_back(fieldStart, static_cast<std::size_t>(end - fieldStart));
}

void SplitQuoted(std::string_view line, FieldList& fields) {
  static constexpr std::string_view kSpace = " ";
  fields.clear();
  while (true) {
    const std::size_t open = line.find('"');
    if (open == std::string_view::npos) return;
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos) return;  // an unfinished field is dropped
    const std::string_view field = line.substr(open + 1, close - open - 1);
    fields.push_back(field.empty() ? kSpace : field);
    line.remove_prefix(close + 1);
  }
}

}  // namespace sipo
