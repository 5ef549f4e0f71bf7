// arguments.cpp - reading sipocheck's arguments.
#include "cli/arguments.h"

#include <algorithm>

namespace sipo::cli {

Option SplitOption(const std::string& arg) {
  const std::size_t equals = arg.find('=');
  if (arg.rfind("--", 0) != 0 || equals == std::string::npos) return {arg, std::nullopt};
  return {arg.substr(0, equals), arg.substr(equals + 1)};
}

Option LongOption(const std::string& arg, std::span<const std::string_view> names,
                  std::span<const std::string_view> takingValues) {
  Option option = SplitOption(arg);
  const auto exact = std::find(names.begin(), names.end(), option.name);
  if (exact == names.end()) {
    std::vector<std::string_view> starting;
    for (const std::string_view name : names) {
      if (name.starts_with(option.name)) starting.push_back(name);
    }
    if (starting.empty()) throw UsageError{"unknown option '" + option.name + "'"};
    if (starting.size() > 1) {
      std::string message = "option '" + option.name + "' is ambiguous; possibilities:";
      for (const std::string_view name : starting) message.append(" '").append(name).append("'");
      throw UsageError{message};
    }
    option.name = starting[0];
  }
  const bool takesValue =
      std::find(takingValues.begin(), takingValues.end(), option.name) != takingValues.end();
  if (option.value && !takesValue) throw UsageError{"option '" + option.name + "' takes no value"};
  return option;
}

char SingleByte(const std::string& option, const std::string& value) {
  if (value.size() != 1) throw UsageError{"option '" + option + "' takes exactly one character"};
  return value[0];
}

}  // namespace sipo::cli
