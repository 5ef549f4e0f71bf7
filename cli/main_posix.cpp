// main_posix.cpp - sipocheck's entry on Linux: arguments as given, status texts in UTF-8.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/sipocheck.h"
#include "core/codepage1250.h"

namespace {

std::string Utf8(std::string_view cp1250) {
  std::string utf8;
  for (char16_t c : sipo::Cp1250ToUtf16(cp1250)) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

std::string AsGiven(std::string_view text) { return std::string(text); }

char LocaleDecimalSeparator() {
  std::setlocale(LC_NUMERIC, "");
  const std::string point = std::localeconv()->decimal_point;
  std::setlocale(LC_NUMERIC, "C");
  return point.size() == 1 ? point[0] : '.';
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const sipo::cli::Console console{Utf8, AsGiven, LocaleDecimalSeparator()};
  return sipo::cli::RunSipocheck(args, std::cin, std::cout, std::cerr, console);
}
