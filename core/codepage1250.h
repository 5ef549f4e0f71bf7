// codepage1250.h - Windows-1250 bytes to and from UTF-16, independent of the system's code page.
#pragma once

#include <string>
#include <string_view>

namespace sipo {

std::u16string Cp1250ToUtf16(std::string_view text);

// Characters that Windows-1250 lacks become '?'.
std::string Utf16ToCp1250(std::u16string_view text);

// For terminals and logs that read UTF-8.
std::string Cp1250ToUtf8(std::string_view text);

}  // namespace sipo
