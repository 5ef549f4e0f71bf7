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

}  // namespace

std::filesystem::path NativePath(std::string_view cp1250Name) {
  return std::filesystem::path(Cp1250ToUtf16(cp1250Name));
}

bool IsWindowsDeviceName(const std::filesystem::path& path) {
  const std::wstring& native = path.native();
  if (native.starts_with(L"\\\\.\\") || native.starts_with(L"//./")) return true;
  const std::wstring name = path.filename().native();
  return IsReservedStem(name.substr(0, name.find(L'.')));
}

}  // namespace sipo

namespace sipo {

std::optional<int> DescriptorAlias(const std::filesystem::path&) {
  return std::nullopt;
}

std::filesystem::path DescriptorPath(int) {
  return {};
}

bool SameSpelling(const std::filesystem::path& a, const std::filesystem::path& b) {
  const std::wstring& x = a.native();
  const std::wstring& y = b.native();
  if (x.size() != y.size()) return false;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const auto fold = [](wchar_t c) {
      return static_cast<wchar_t>(c == L'/' ? L'\\' : std::towlower(c));
    };
    if (fold(x[i]) != fold(y[i])) return false;
  }
  return true;
}

}  // namespace sipo
