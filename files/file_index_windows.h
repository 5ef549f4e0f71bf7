// file_index_windows.h - how Windows tells files apart: the volume's serial number and the file's
// index, of a name (a folder's included) or of an open handle; and names compared as the file
// system compares them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sipo {

struct FileIndex {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool regular = false;  // a file on a disk, no folder, pipe or console
};

// The file or folder a name opens, every link followed; nothing when it cannot be opened.
std::optional<FileIndex> FileIndexOf(const std::wstring& name);
// The file an open handle (a C runtime descriptor's handle included) is on; nothing for a pipe
// or a console.
std::optional<FileIndex> FileIndexOfHandle(std::intptr_t handle);

// The name made full as the system makes it before opening: "/" as "\", "." and ".." resolved,
// the current folder or drive put in front; a "\\?\" name as given. The name itself on failure.
std::wstring FullPathName(const std::wstring& name);

// Letter case ignored as the file system ignores it (NTFS's upper-case table), for letters
// outside ASCII too.
bool SameIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace sipo
