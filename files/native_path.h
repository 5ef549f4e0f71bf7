// native_path.h - the platform's path for a file name held as Windows-1250 bytes.
#pragma once

#include <filesystem>
#include <string_view>

namespace sipo {

// Wide on Windows, whatever the system's code page; the bytes as they are elsewhere.
std::filesystem::path NativePath(std::string_view cp1250Name);

}  // namespace sipo
