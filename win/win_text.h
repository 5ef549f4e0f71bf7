// win_text.h - moves Windows-1250 byte texts in and out of wide Win32 controls, and converts wide
// texts from and to the other code pages the system knows (UTF-8, a console's).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace sipo::win {

std::wstring Widen(std::string_view cp1250);
std::string Narrow(std::wstring_view wide);

// UTF-8 bytes as a wide text, and a wide text in any code page (CP_UTF8 included), where a
// character the code page lacks becomes the code page's default character.
std::wstring WidenUtf8(std::string_view utf8);
std::string InCodePage(std::wstring_view wide, UINT codePage);

std::wstring GetWideText(HWND window);
std::string GetControlText(HWND control);
void SetControlText(HWND control, std::string_view cp1250);

}  // namespace sipo::win
