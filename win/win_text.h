// win_text.h - moves Windows-1250 byte texts in and out of wide Win32 controls.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace sipo::win {

std::wstring Widen(std::string_view cp1250);
std::string Narrow(std::wstring_view wide);

std::wstring GetWideText(HWND window);
std::string GetControlText(HWND control);
void SetControlText(HWND control, std::string_view cp1250);

}  // namespace sipo::win
