// field_split.cpp - cuts a line into numbered fields, at a delimiter or between double quotes.
#include "batch/field_split.h"

#include "core/byte_scan.h"

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
  const char* open = nullptr;
  ForEachByte(line.data(), line.data() + line.size(), '"', [&](const char* quote) {
    if (open == nullptr) {
      open = quote;
      return;
    }
    const std::string_view field(open + 1, static_cast<std::size_t>(quote - open - 1));
    fields.push_back(field.empty() ? kSpace : field);
    open = nullptr;
  });
  // A quote still open at the end of the line gives no field.
}

}  // namespace sipo
