// unicode_text.h - the few Unicode conversions sipocheck makes itself: an argument's UTF-8 to
// UTF-16 (for its Windows-1250 byte), UTF-16 units of a marked input to UTF-8, and the "U+"
// name of a character.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sipo::cli {

// Nothing for bytes that are no UTF-8 (or a character beyond U+10FFFF).
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);
// Appends one code point's UTF-8 bytes.
void AppendUtf8(std::string& text, std::uint32_t code);
// The units of a UTF-16 text's bytes in either byte order (an odd last byte is left out).
std::u16string UnitsOfUtf16(std::string_view bytes, bool bigEndian);

// "U+" and the hexadecimal code of a UTF-8 text's first character, which names it in any
// console.
std::string CodePointName(std::string_view utf8);

}  // namespace sipo::cli
