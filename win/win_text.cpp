// win_text.cpp - moves Windows-1250 byte texts in and out of wide Win32 controls, and converts
// wide texts from and to other code pages.
#include "win/win_text.h"

#include "core/codepage1250.h"

namespace sipo::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

std::wstring Widen(std::string_view cp1250) {
  const std::u16string wide = Cp1250ToUtf16(cp1250);
  return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(std::wstring_view wide) {
  return Utf16ToCp1250(std::u16string(wide.begin(), wide.end()));
}

std::wstring WidenUtf8(std::string_view utf8) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string InCodePage(std::wstring_view wide, UINT codePage) {
  const int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

std::wstring GetWideText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string GetControlText(HWND control) {
  return Narrow(GetWideText(control));
}

void SetControlText(HWND control, std::string_view cp1250) {
  SetWindowTextW(control, Widen(cp1250).c_str());
}

}  // namespace sipo::win
