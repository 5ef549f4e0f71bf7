// main_posix.cpp - sipocheck's entry on Linux: arguments as given, status texts in UTF-8.
#include <clocale>
#include <cstdio>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/sipocheck.h"
#include "core/codepage1250.h"
#include "files/interruption.h"

namespace {

char LocaleDecimalSeparator() {
  std::setlocale(LC_NUMERIC, "");
  const std::string point = std::localeconv()->decimal_point;
  std::setlocale(LC_NUMERIC, "C");
  return point.size() == 1 ? point[0] : '.';
}

}  // namespace

int main(int argc, char** argv) {
  try {
    sipo::InstallInterruptCleanup();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    sipo::cli::Console console{sipo::Cp1250ToUtf8, sipo::cli::TextAsGiven,
                               LocaleDecimalSeparator()};
    console.readsProcessInput = true;
    return sipo::cli::RunSipocheck(args, std::cin, std::cout, std::cerr, console);
  } catch (const std::bad_alloc&) {
    std::fputs("sipocheck: out of memory\n", stderr);
    return sipo::cli::kExitFailed;
  }
}
