// main_windows.cpp - sipocheck's entry on Windows: wide arguments taken as Windows-1250, texts
// shown in the console's code page.
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/sipocheck.h"
#include "core/codepage1250.h"
#include "ui/decimal_separator.h"

namespace {

std::string InConsoleCodePage(std::string_view cp1250) {
  const std::u16string utf16 = sipo::Cp1250ToUtf16(cp1250);
  const std::wstring wide(utf16.begin(), utf16.end());
  UINT codePage = GetConsoleOutputCP();
  if (codePage == 0) codePage = GetACP();
  if (codePage == 1250) return std::string(cp1250);
  const int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view arg(argv[i]);
    args.push_back(sipo::Utf16ToCp1250(std::u16string(arg.begin(), arg.end())));
  }
  const sipo::cli::Console console{InConsoleCodePage, InConsoleCodePage,
                                   sipo::ui::ReadUserDecimalSeparator()};
  return sipo::cli::RunSipocheck(args, std::cin, std::cout, std::cerr, console);
}
