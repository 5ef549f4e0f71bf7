// ini_text.h - the text rules of an INI file, as the Windows profile functions apply them, on a
// file's lines held in memory.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sipo {

// The lines of an INI file. Every byte but the line ends is kept, NULs and junk included, so that
// a write changes nothing but the one value.
class IniText {
 public:
  IniText() = default;
  explicit IniText(std::string_view text);

  // The value of the first matching key: names compare without regard to letter case, blanks
  // around names and values are dropped, then one pair of matching quotes; at most 2047
  // characters. No value when the section or key is missing.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;

  // Sets the first matching key in place, or adds it as the last key of its section, or adds the
  // section at the end.
  void Write(std::string_view section, std::string_view key, std::string_view value);

  // Every line followed by CR LF.
  std::string Joined() const;

 private:
  struct KeyLocation {
    std::optional<std::size_t> keyLine;
    std::optional<std::size_t> sectionLastLine;  // the section's header or last key line
  };
  KeyLocation Find(std::string_view section, std::string_view key) const;

  std::vector<std::string> lines_;
};

inline constexpr std::size_t kIniValueLimit = 2047;

}  // namespace sipo
