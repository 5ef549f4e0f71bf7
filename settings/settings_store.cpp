// settings_store.cpp - the settings file beside the program: read once, written one value at a
// time.
#include "settings/settings_store.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "core/lenient_conversions.h"
#include "core/line_ends.h"
#include "files/atomic_file.h"
#include "files/native_path.h"
#include "files/whole_file.h"
#include "settings/ini_text.h"

namespace sipo {
namespace {

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(NativePath(path), error);
}

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(NativePath(path), error);
}

}  // namespace

// One access: the store is open for its lifetime, and released however the access ends.
class SettingsStore::Access {
 public:
  explicit Access(SettingsStore& store) : store_(store) { store_.OpenStore(); }
  ~Access() { store_.ReleaseStore(); }
  Access(const Access&) = delete;
  Access& operator=(const Access&) = delete;

 private:
  SettingsStore& store_;
};

bool SettingsStore::EnsureSettingsFile(std::string_view programDir) {
  const std::string path = std::string(programDir).append(kSettingsFileName);
  path_ = path.substr(0, kSettingsPathLimit);
  lines_.reset();
  if (path.size() > kSettingsPathLimit) return false;
  if (IsRegularFile(path)) return true;
  AtomicFileWriter writer(path);
  writer.Write("[GENERAL]");
  writer.Write(kLineEnd);
  return writer.Commit(AtomicFileWriter::Durability::OnDisk);
}

void SettingsStore::OpenStore() {
  if (useCount_ == 0 || !file_) file_ = SettingsFile{path_};
  ++useCount_;
}

void SettingsStore::ReleaseStore() {
  useCount_ = useCount_ > 0 ? useCount_ - 1 : 0;
  if (useCount_ == 0) file_.reset();
}

std::optional<std::string> SettingsStore::ReadValue(std::string_view section,
                                                    std::string_view key) {
  Access access(*this);
  if (!lines_) {
    // A file that cannot be read gives the defaults, and is tried again at the next read.
    FileContent content;
    if (!ReadWholeFile(file_->path, content)) return std::nullopt;
    lines_.emplace(content.View());
  }
  return lines_->Read(section, key);
}

void SettingsStore::WriteValue(std::string_view section, std::string_view key,
                               std::string_view value) {
  Access access(*this);
  const std::string& path = file_->path;
  FileContent content;
  // A file that is there but cannot be read must not be replaced by one holding a single value.
  if (!ReadWholeFile(path, content) && Exists(path)) {
    throw std::runtime_error("Unable to write to " + path);
  }
  IniText ini(content.View());
  ini.Write(section, key, value);
  AtomicFileWriter writer(path);
  writer.Write(ini.Joined());
  // On the disk before it replaces the old file, so that a crash cannot leave an empty one.
  if (!writer.Commit(AtomicFileWriter::Durability::OnDisk))
    throw std::runtime_error("Unable to write to " + path);
  lines_ = std::move(ini);
}

std::string SettingsStore::ReadSettingText(std::string_view section, std::string_view key) {
  return ReadSettingTextOr(section, key, "");
}

std::string SettingsStore::ReadSettingTextOr(std::string_view section, std::string_view key,
                                             std::string_view fallback) {
  const std::optional<std::string> value = ReadValue(section, key);
  return (value ? *value : std::string(fallback)).substr(0, kConversionWindow);
}

void SettingsStore::WriteSettingText(std::string_view section, std::string_view key,
                                     std::string_view value) {
  WriteValue(section, key, value);
}

std::int32_t SettingsStore::ReadSettingInteger(std::string_view section, std::string_view key) {
  return StrToIntNoSuffix(ReadValue(section, key).value_or(""));
}

void SettingsStore::WriteSettingInteger(std::string_view section, std::string_view key,
                                        std::int32_t value) {
  WriteValue(section, key, IntToStrPlain(value));
}

bool SettingsStore::ReadSettingOnOff(std::string_view section, std::string_view key) {
  std::string value = ReadValue(section, key).value_or("");
  for (char& c : value) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return value == "ON";
}

void SettingsStore::WriteSettingOnOff(std::string_view section, std::string_view key, bool value) {
  WriteValue(section, key, value ? "On" : "Off");
}

}  // namespace sipo
