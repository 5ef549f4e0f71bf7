// decimal_separator.h - the user locale's decimal separator as one Windows-1250 byte.
#pragma once

namespace sipo::win {

// '.' when the locale gives none or more than one character.
char ReadUserDecimalSeparator();

}  // namespace sipo::win
