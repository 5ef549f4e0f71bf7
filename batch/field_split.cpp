// field_split.cpp - cuts a line into numbered fields, at a delimiter or between double quotes.
#include "batch/field_split.h"

namespace sipo {

void SplitDelimited(char delimiter, std::string_view line, FieldList& fields) {
  fields.clear();
  while (!line.empty()) {
    const std::size_t at = line.find(delimiter);
    if (at == std::string_view::npos) {
      fields.push_back(line);
      return;
    }
    fields.push_back(line.substr(0, at));
    line.remove_prefix(at + 1);
  }
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
