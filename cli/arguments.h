// arguments.h - reading sipocheck's arguments: long options by their name or an unambiguous
// start of it, their values given after '=' or as the next argument, and the usage error that a
// wrong one ends the program with.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sipo::cli {

// What the user got wrong; the entry shows it with the usage.
struct UsageError {
  std::string message;
};

// An argument as a long option: "--name=value" gives both parts, anything else only a name.
struct Option {
  std::string name;
  std::optional<std::string> value;
};

Option SplitOption(const std::string& arg);

// The long option (of names) that the argument, "--" and a name, names: its full name, or the
// one name that begins so, as GNU programs take "--col" for "--column". A name that none or
// several begin with is a usage error; so is a value given to an option that takes none.
Option LongOption(const std::string& arg, std::span<const std::string_view> names,
                  std::span<const std::string_view> takingValues);

class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}
  bool Done() const { return next_ >= args_.size(); }
  std::string Next() { return args_[next_++]; }
  // The option's value, given after '=' or as the next argument.
  std::string ValueOf(const Option& option) {
    if (option.value) return *option.value;
    if (Done()) throw UsageError{"option '" + option.name + "' needs a value"};
    return Next();
  }

 private:
  const std::vector<std::string>& args_;
  std::size_t next_ = 0;
};

// The option's value as its one character.
char SingleByte(const std::string& option, const std::string& value);

}  // namespace sipo::cli
