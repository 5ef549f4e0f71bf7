// temporary_files.cpp - names and stale removal of temporary files.
#include "files/temporary_files.h"

#include <array>
#include <atomic>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

#include "files/temporary_files_platform.h"
#include "files/temporary_registry.h"

namespace sipo {
namespace {

constexpr std::string_view kPrefix = ".sipo-";
constexpr std::string_view kSuffix = ".tmp";

// FNV-1a over the target's file name as the platform spells it; Windows ignores its case.
std::uint64_t NameHash(const std::filesystem::path& target) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  const std::filesystem::path name = target.filename();
  for (const NativeChar c : name.native()) {
    hash ^= static_cast<std::uint64_t>(NameCaseFolded(c));
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::string Hex16(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4)
    text[static_cast<std::size_t>(i)] = kDigits[value & 15];
  return text;
}

// "<prefix><hash>-" for the target, the part that all its temporaries share.
std::string TargetStem(const std::filesystem::path& target) {
  return std::string(kPrefix) + Hex16(NameHash(target)) + "-";
}

// The process a temporary's name gives after the stem, or nothing for a name of another kind.
bool ProcessOfName(std::string_view name, std::string_view stem, std::uint64_t& process) {
  if (name.substr(0, stem.size()) != stem || name.size() < stem.size() + kSuffix.size() ||
      name.substr(name.size() - kSuffix.size()) != kSuffix) {
    return false;
  }
  name = name.substr(stem.size(), name.size() - stem.size() - kSuffix.size());
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), process);
  return error == std::errc{} && end < name.data() + name.size() && *end == '-';
}

}  // namespace

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, std::uint64_t process,
                                       std::uint64_t counter) {
  std::string name = TargetStem(target);
  name.append(std::to_string(process)).append("-").append(std::to_string(counter)).append(kSuffix);
  return target.parent_path() / name;
}

void RemoveStaleTemporaries(const std::filesystem::path& target, int folderFd) {
  const std::string stem = TargetStem(target);
  const std::filesystem::path folder =
      target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) return;
  const std::uint64_t self = CurrentProcessId();
  for (const auto& entry : entries) {
    const std::filesystem::path name = entry.path().filename();
    std::uint64_t process = 0;
    if (!ProcessOfName(name.string(), stem, process)) continue;
    if (process == self && IsRegisteredTemporary(target.parent_path() / name)) continue;
    if (process != self && LeaveForRunningOwner(process)) continue;
    RemoveTemporary(folderFd, entry.path());
  }
}

}  // namespace sipo
