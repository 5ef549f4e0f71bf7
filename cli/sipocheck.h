// sipocheck.h - the command-line file check and number check, apart from the process and the
// console, so that they run in tests as they run from a shell.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace sipo::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// What the platform supplies: how texts reach the console, and the locale's decimal separator.
struct Console {
  // Windows-1250 status text in the console's encoding.
  std::string (*statusText)(std::string_view cp1250);
  // A checked text, held as the program received it, in the console's encoding.
  std::string (*inputText)(std::string_view text);
  char decimalSeparator;
};

// args excludes the program name. Reads standard input only for "check" without texts.
int RunSipocheck(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err, const Console& console);

}  // namespace sipo::cli
