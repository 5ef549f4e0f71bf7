// sipocheck.h - the command-line file check and number check, apart from the process and the
// console, so that they run in tests as they run from a shell.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/progress_line.h"

namespace sipo::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

std::filesystem::path PathAsGiven(std::string_view arg);
std::string TextAsGiven(std::string_view arg);

// What the platform supplies: how texts reach the console, the locale's decimal separator, and
// what an argument means as a file name and as a text to check.
struct Console {
  // Windows-1250 status text in the console's encoding.
  std::string (*statusText)(std::string_view cp1250);
  // A checked text, as a Windows-1250 text, in the console's encoding.
  std::string (*inputText)(std::string_view text);
  char decimalSeparator;
  // The file an argument names: on Windows the UTF-16 name the system gave, so that any name
  // works.
  std::filesystem::path (*pathOf)(std::string_view arg) = PathAsGiven;
  // An argument as the Windows-1250 text that is checked.
  std::string (*argText)(std::string_view arg) = TextAsGiven;
  // An argument (a file name) in the console's encoding, for messages.
  std::string (*argShown)(std::string_view arg) = TextAsGiven;
  // Whether the error stream is a terminal, where the file run shows its progress line.
  bool (*errorIsTerminal)() = StandardErrorIsTerminal;
};

// args excludes the program name. Reads standard input for "check" without texts and for "file"
// with the input "-". A failed write to out or err, or memory that runs out, gives a message
// (where err still takes one) and kExitFailed.
int RunSipocheck(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err, const Console& console);

}  // namespace sipo::cli
