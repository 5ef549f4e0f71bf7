// file_index_windows.cpp - how Windows tells files apart, and names compared as its file systems
// do.
#include "files/file_index_windows.h"

#include <windows.h>

namespace sipo {
namespace {

std::optional<FileIndex> IndexOfOpen(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info))
    return std::nullopt;
  FileIndex index;
  index.volume = info.dwVolumeSerialNumber;
  index.index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  index.regular = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  return index;
}

}  // namespace

// Backup semantics open a folder too; no access is asked, so a file that another program holds
// without sharing is still known.
std::optional<FileIndex> FileIndexOf(const std::wstring& name) {
  const HANDLE file =
      CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::optional<FileIndex> index = IndexOfOpen(file);
  CloseHandle(file);
  return index;
}

std::optional<FileIndex> FileIndexOfHandle(std::intptr_t handle) {
  const HANDLE file = reinterpret_cast<HANDLE>(handle);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) return std::nullopt;
  return IndexOfOpen(file);
}

std::wstring FullPathName(const std::wstring& name) {
  std::wstring full(MAX_PATH, L'\0');
  DWORD size =
      GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (size >= full.size()) {
    full.resize(size + 1);
    size = GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  if (size == 0 || size >= full.size()) return name;
  full.resize(size);
  return full;
}

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace sipo
