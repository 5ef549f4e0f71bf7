// main_posix.cpp - sipocheck's entry on Linux: arguments as given (the delimiter read in the
// locale's encoding), status texts in UTF-8.
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/interruption.h"
#include "cli/sipocheck.h"
#include "cli/unicode_text.h"
#include "core/codepage1250.h"

namespace {

char LocaleDecimalSeparator() {
  std::setlocale(LC_NUMERIC, "");
  const std::string point = std::localeconv()->decimal_point;
  std::setlocale(LC_NUMERIC, "C");
  return point.size() == 1 ? point[0] : '.';
}

// An argument in the locale's encoding as UTF-8; unchanged when it is not valid there.
std::string LocaleToUtf8(std::string_view arg) {
  std::setlocale(LC_CTYPE, "");
  std::string utf8;
  std::mbstate_t state{};
  bool valid = true;
  for (std::size_t i = 0; i < arg.size() && valid;) {
    wchar_t c;
    const std::size_t size = std::mbrtowc(&c, arg.data() + i, arg.size() - i, &state);
    valid = size != 0 && size <= arg.size() - i;
    const auto code = static_cast<std::uint32_t>(c);
    valid = valid && code <= 0x10FFFF && (code < 0xD800 || code >= 0xE000);
    if (!valid) break;
    sipo::cli::AppendUtf8(utf8, code);
    i += size;
  }
  std::setlocale(LC_CTYPE, "C");
  return valid ? utf8 : std::string(arg);
}

bool StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    sipo::cli::InstallInterruptCleanup();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    sipo::cli::Console console{sipo::Cp1250ToUtf8, sipo::cli::TextAsGiven,
                               LocaleDecimalSeparator()};
    console.argUtf8 = LocaleToUtf8;
    console.readsProcessInput = true;
    console.errorIsTerminal = StandardErrorIsTerminal;
    return sipo::cli::RunSipocheck(args, std::cin, std::cout, std::cerr, console);
  } catch (const std::bad_alloc&) {
    std::fputs("sipocheck: out of memory\n", stderr);
    return sipo::cli::kExitFailed;
  }
}
