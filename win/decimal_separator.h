// decimal_separator.h - the user locale's decimal separator as one Windows-1250 byte.
#pragma once

namespace sipo::ui {

// '.' when the locale gives none or more than one character.
char ReadUserDecimalSeparator();

}  // namespace sipo::ui
