// native_path_posix.cpp - on POSIX a name is its bytes, no name is a device by its spelling, and
// a few names stand for the process's own descriptors.
#include "files/native_path.h"

#include <charconv>
#include <string>

namespace sipo {

std::filesystem::path NativePath(std::string_view cp1250Name) {
  return std::filesystem::path(std::string(cp1250Name));
}

bool IsWindowsDeviceName(const std::filesystem::path&) {
  return false;
}

namespace {

// The number after a folder of descriptors ("/dev/fd/", "/proc/self/fd/").
std::optional<int> NumberAfter(std::string_view name, std::string_view folder) {
  if (!name.starts_with(folder) || name.size() == folder.size()) return std::nullopt;
  name.remove_prefix(folder.size());
  int fd = -1;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), fd);
  if (error != std::errc{} || end != name.data() + name.size() || fd < 0) return std::nullopt;
  return fd;
}

}  // namespace

std::optional<int> DescriptorAlias(const std::filesystem::path& path) {
  const std::string name = path.lexically_normal().native();
  if (name == "/dev/stdin") return 0;
  if (name == "/dev/stdout") return 1;
  if (name == "/dev/stderr") return 2;
  if (const auto fd = NumberAfter(name, "/dev/fd/")) return fd;
  return NumberAfter(name, "/proc/self/fd/");
}

}  // namespace sipo
