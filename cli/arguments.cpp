// arguments.cpp - reading sipocheck's arguments.
#include "cli/arguments.h"

namespace sipo::cli {

Option SplitOption(const std::string& arg) {
  const std::size_t equals = arg.find('=');
  if (arg.rfind("--", 0) != 0 || equals == std::string::npos) return {arg, std::nullopt};
  return {arg.substr(0, equals), arg.substr(equals + 1)};
}

char SingleByte(const std::string& option, const std::string& value) {
  if (value.size() != 1) throw UsageError{"option '" + option + "' takes exactly one character"};
  return value[0];
}

}  // namespace sipo::cli
