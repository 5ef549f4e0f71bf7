// native_path_windows.cpp - on Windows a name is wide whatever the system's code page, and some
// names are devices wherever they stand.
#include "files/native_path.h"

#include <cwctype>
#include <string>

#include "core/codepage1250.h"

namespace sipo {
namespace {

bool IsReservedStem(std::wstring stem) {
  for (auto& c : stem) c = static_cast<wchar_t>(c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c);
  // Windows ignores spaces after the device's name.
  while (!stem.empty() && stem.back() == L' ') stem.pop_back();
  if (stem == L"NUL" || stem == L"CON" || stem == L"PRN" || stem == L"AUX") return true;
  return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) &&
         stem[3] >= L'1' && stem[3] <= L'9';
}

// "Z:\..." after the device space's prefix: a file on a drive, as "\\?\Z:\..." is.
bool IsDriveFile(std::wstring_view name) {
  return name.size() >= 3 && std::iswalpha(name[0]) && name[1] == L':' &&
         (name[2] == L'\\' || name[2] == L'/');
}

}  // namespace

std::filesystem::path NativePath(std::string_view cp1250Name) {
  return std::filesystem::path(Cp1250ToUtf16(cp1250Name));
}

bool IsWindowsDeviceName(const std::filesystem::path& path) {
  const std::wstring& native = path.native();
  if (native.starts_with(L"\\\\.\\") || native.starts_with(L"//./"))
    return !IsDriveFile(std::wstring_view(native).substr(4));
  const std::wstring name = path.filename().native();
  return IsReservedStem(name.substr(0, name.find(L'.')));
}

}  // namespace sipo

namespace sipo {

std::optional<int> DescriptorAlias(const std::filesystem::path&) {
  return std::nullopt;
}

}  // namespace sipo
