// field_split.h - cuts a line into numbered fields, at a delimiter or between double quotes.
#pragma once

#include <string_view>
#include <vector>

namespace sipo {

// Fields refer into the line (or to static text), so the list must not outlive the line. The
// caller owns the list and reuses it line after line; each call empties it first.
using FieldList = std::vector<std::string_view>;

// Splits at every delimiter byte; a delimiter at the very end opens no empty last field.
void SplitDelimited(char delimiter, std::string_view line, FieldList& fields);

// Takes the texts between pairs of double quotes; an empty pair gives one space, an unclosed
// quote at the end of the line gives nothing.
void SplitQuoted(std::string_view line, FieldList& fields);

}  // namespace sipo
