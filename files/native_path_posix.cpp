// native_path_posix.cpp - on POSIX a name is its bytes, and no name is a device by its spelling.
#include "files/native_path.h"

#include <string>

namespace sipo {

std::filesystem::path NativePath(std::string_view cp1250Name) {
  return std::filesystem::path(std::string(cp1250Name));
}

bool IsWindowsDeviceName(const std::filesystem::path&) {
  return false;
}

}  // namespace sipo
