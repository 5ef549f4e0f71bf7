// final_path.cpp - where an existing file's name leads once the system has followed every link.
#include "win/final_path.h"

#include <windows.h>

#include <string>

namespace sipo::win {

std::filesystem::path FinalPathOf(const std::filesystem::path& existing) {
  const HANDLE file =
      CreateFileW(existing.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::wstring path(MAX_PATH, L'\0');
  DWORD size = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (size >= path.size()) {
    path.resize(size + 1);
    size = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  }
  CloseHandle(file);
  if (size == 0 || size >= path.size()) return {};
  path.resize(size);
  // "\\?\C:\..." and "\\?\UNC\server\..." back to the names every call takes.
  if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
  if (path.starts_with(L"\\\\?\\")) return path.substr(4);
  return path;
}

}  // namespace sipo::win
