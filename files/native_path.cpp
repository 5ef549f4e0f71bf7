// native_path.cpp - the platform's path for a file name held as Windows-1250 bytes.
#include "files/native_path.h"

#include <atomic>
#include <string>

#include "core/codepage1250.h"

namespace sipo {
namespace {

std::atomic<LinkResolver> linkResolver{nullptr};

#ifdef _WIN32
bool IsReservedStem(std::wstring stem) {
  for (auto& c : stem) c = static_cast<wchar_t>(c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c);
  // Windows ignores spaces after the device's name.
  while (!stem.empty() && stem.back() == L' ') stem.pop_back();
  if (stem == L"NUL" || stem == L"CON" || stem == L"PRN" || stem == L"AUX") return true;
  return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) &&
         stem[3] >= L'1' && stem[3] <= L'9';
}
#endif

}  // namespace

std::filesystem::path NativePath(std::string_view cp1250Name) {
#ifdef _WIN32
  return std::filesystem::path(Cp1250ToUtf16(cp1250Name));
#else
  return std::filesystem::path(std::string(cp1250Name));
#endif
}

void SetLinkResolver(LinkResolver resolver) {
  linkResolver.store(resolver);
}

std::filesystem::path ResolvedByPlatform(const std::filesystem::path& existing) {
  const LinkResolver resolver = linkResolver.load();
  if (resolver == nullptr) return existing;
  std::filesystem::path resolved = resolver(existing);
  return resolved.empty() ? existing : resolved;
}

bool IsWindowsDeviceName(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::wstring& native = path.native();
  if (native.starts_with(L"\\\\.\\") || native.starts_with(L"//./")) return true;
  const std::wstring name = path.filename().native();
  return IsReservedStem(name.substr(0, name.find(L'.')));
#else
  (void)path;
  return false;
#endif
}

}  // namespace sipo
