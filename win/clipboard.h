// clipboard.h - the clipboard's text as Windows-1250 bytes, through its Unicode format.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace sipo::win {

// The text up to its first NUL; empty when the clipboard holds no text. Throws
// std::runtime_error "Cannot open clipboard" while another program holds it.
std::string ReadClipboardText(HWND owner);
// As ReadClipboardText, but nothing when the clipboard cannot be opened.
std::optional<std::string> TryReadClipboardText(HWND owner);
// Replaces every format on the clipboard with the text. Throws as ReadClipboardText, and then
// leaves the clipboard as it was.
void WriteClipboardText(HWND owner, std::string_view cp1250);

}  // namespace sipo::win
