// native_path.cpp - the platform's path for a file name held as Windows-1250 bytes.
#include "files/native_path.h"

#include <string>

#include "core/codepage1250.h"

namespace sipo {

std::filesystem::path NativePath(std::string_view cp1250Name) {
#ifdef _WIN32
  return std::filesystem::path(Cp1250ToUtf16(cp1250Name));
#else
  return std::filesystem::path(std::string(cp1250Name));
#endif
}

}  // namespace sipo
