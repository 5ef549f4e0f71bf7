// settings_store.h - the settings file beside the program: read once, written one value at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/ini_text.h"

namespace sipo {

inline constexpr std::string_view kSettingsFileName = "Zerbanix.ini";
// The longest settings path the store addresses; a longer one means no settings at all, never a
// write to some other, shorter path.
inline constexpr std::size_t kSettingsPathLimit = 255;

// The first read reads the whole file and keeps its lines; every later read is answered from them,
// so a start that reads a dozen values opens the file once. A write still reads the file as it is
// on disk, changes the one value and replaces the file atomically, and the lines kept become the
// ones written: a value written is what later reads give. When the write cannot be done, it throws
// std::runtime_error "Unable to write to <path>", and the file and the lines kept stay as they
// were. No file is held open between accesses.
class SettingsStore {
 public:
  // Creates the file holding "[GENERAL]" when no file is there. True when the settings file is
  // there to use afterwards; false when its creation failed or the path is too long for the store.
  // Lines kept from an earlier read are dropped: the next read reads the file again.
  bool EnsureSettingsFile(std::string_view programDir);

  const std::string& SettingsFilePath() const { return path_; }

  std::string ReadSettingText(std::string_view section, std::string_view key);
  // As ReadSettingText, with a default for a missing key (window positions use "0,0").
  std::string ReadSettingTextOr(std::string_view section, std::string_view key,
                                std::string_view fallback);
  void WriteSettingText(std::string_view section, std::string_view key, std::string_view value);
  // Decimal or '$', 'x', '0x' hexadecimal; no 'h' suffix; anything else gives 0.
  std::int32_t ReadSettingInteger(std::string_view section, std::string_view key);
  void WriteSettingInteger(std::string_view section, std::string_view key, std::int32_t value);
  // True exactly for "On" in any letter case.
  bool ReadSettingOnOff(std::string_view section, std::string_view key);
  void WriteSettingOnOff(std::string_view section, std::string_view key, bool value);

 private:
  // The open settings file: only its name, as opening it touches nothing on disk.
  struct SettingsFile {
    std::string path;
  };
  class Access;

  void OpenStore();
  void ReleaseStore();
  std::optional<std::string> ReadValue(std::string_view section, std::string_view key);
  void WriteValue(std::string_view section, std::string_view key, std::string_view value);

  std::string path_;
  int useCount_ = 0;
  std::optional<SettingsFile> file_;
  // The file's lines as last read or written; none until the first read that finds the file.
  std::optional<IniText> lines_;
};

}  // namespace sipo
