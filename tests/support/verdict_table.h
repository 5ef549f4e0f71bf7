// verdict_table.h - texts with the one verdict that every way of checking a number must give:
// the classification, the command line's check, the file run in each layout and each window.
#pragma once

#include <string_view>

#include "core/sipo_number.h"

namespace sipo::test {

struct VerdictCase {
  std::string_view text;  // ASCII only, no line end, no quote and no semicolon
  char separator;         // the decimal separator the verdict needs, or 0 for either
  StatusClass verdict;    // Valid means the good output of a file run, any other class the bad
};

// Ten plain digits that pass the check digit are valid; a text that reads as a number but holds a
// blank, a sign, a point, a comma or an exponent is invalid even where the check digit fits, as
// the rows marked "was valid" do when such a character counts as a 0.
inline constexpr VerdictCase kVerdictCases[] = {
    {"1234567897", 0, StatusClass::Valid},
    {"9876543213", 0, StatusClass::Valid},
    {"0000000001", 0, StatusClass::Valid},
    {"2222222227", 0, StatusClass::Valid},
    {"1234567890", 0, StatusClass::Invalid},
    {"12345678901", 0, StatusClass::Invalid},
    {" 1234567897", 0, StatusClass::Invalid},
    {" 234567897", 0, StatusClass::Invalid},    // was valid: a blank before
    {"222222222 ", 0, StatusClass::Invalid},    // was valid: a blank after
    {"+234567897", 0, StatusClass::Invalid},    // was valid: a plus sign
    {"-123456782", 0, StatusClass::Invalid},    // was valid: a minus sign
    {"12345.6786", 0, StatusClass::Invalid},    // was valid: a point
    {"12345,6786", ',', StatusClass::Invalid},  // was valid: the decimal comma
    {"12345,6786", '.', StatusClass::NotANumber},
    {"12345678e4", 0, StatusClass::Invalid},  // was valid: an exponent
    {"12345", 0, StatusClass::Incomplete},
    {"1e9", 0, StatusClass::Incomplete},
    {"slovo", 0, StatusClass::NotANumber},
    {"1 23456789", 0, StatusClass::NotANumber},
};

// Whether a case holds for a check made with this decimal separator.
inline bool VerdictAppliesTo(const VerdictCase& c, char separator) {
  return c.separator == 0 || c.separator == separator;
}

}  // namespace sipo::test
