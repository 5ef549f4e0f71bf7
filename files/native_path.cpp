// native_path.cpp - where a name leads once its symbolic links are followed; the platform's own
// spelling of a name is in native_path_posix.cpp and native_path_windows.cpp.
#include "files/native_path.h"

#include <atomic>

namespace sipo {
namespace {

std::atomic<LinkResolver> linkResolver{nullptr};

}  // namespace

void SetLinkResolver(LinkResolver resolver) {
  linkResolver.store(resolver);
}

std::filesystem::path ResolvedByPlatform(const std::filesystem::path& existing) {
  const LinkResolver resolver = linkResolver.load();
  if (resolver == nullptr) return existing;
  std::filesystem::path resolved = resolver(existing);
  return resolved.empty() ? existing : resolved;
}

}  // namespace sipo
