// native_path.h - the platform's path for a file name held as Windows-1250 bytes, and where a
// name leads once its symbolic links are followed.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace sipo {

// Wide on Windows, whatever the system's code page; the bytes as they are elsewhere.
std::filesystem::path NativePath(std::string_view cp1250Name);

// Where an existing file's name leads as the system resolves it, for a platform on which the
// standard library does not see every link (under Wine a link made on the host is no reparse
// point). The program's entry installs one; without it links are followed by the library alone.
using LinkResolver = std::filesystem::path (*)(const std::filesystem::path& existing);
void SetLinkResolver(LinkResolver resolver);
// The installed resolver's answer, or the name itself when there is none or it has no answer.
std::filesystem::path ResolvedByPlatform(const std::filesystem::path& existing);

// A Windows device name (NUL, CON, PRN, AUX, COM1 to COM9, LPT1 to LPT9, with any extension, in
// any folder, or a name in the "\\.\" device space other than a drive's file, "\\.\Z:\..."):
// no file, on Windows. Never true elsewhere.
bool IsWindowsDeviceName(const std::filesystem::path& path);

// The process's own descriptor that a name stands for: on POSIX /dev/stdout (1), /dev/stderr (2),
// /dev/stdin (0), /dev/fd/N and /proc/self/fd/N. Windows has no such names.
std::optional<int> DescriptorAlias(const std::filesystem::path& path);

}  // namespace sipo
