// decimal_separator.cpp - the user locale's decimal separator as one Windows-1250 byte.
#include "win/decimal_separator.h"

#include <windows.h>

#include "win/win_text.h"

namespace sipo::win {

char ReadUserDecimalSeparator() {
  wchar_t buffer[8] = {};
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8);
  // The length counts the terminating NUL.
  if (length != 2) return '.';
  const std::string byte = Narrow(std::wstring_view(buffer, 1));
  return byte.size() == 1 && byte[0] != '?' ? byte[0] : '.';
}

}  // namespace sipo::win
