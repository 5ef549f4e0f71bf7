// console.cpp - the arguments' meanings where the platform takes them as bytes.
#include "cli/console.h"

namespace sipo::cli {

std::filesystem::path PathAsGiven(std::string_view arg) {
  return std::filesystem::path(std::string(arg));
}

std::string TextAsGiven(std::string_view arg) {
  return std::string(arg);
}

std::string ReasonAsGiven(const std::error_code& error) {
  return error.message();
}

bool NoTerminal() {
  return false;
}

}  // namespace sipo::cli
