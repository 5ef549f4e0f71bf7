// file_identity_posix.cpp - on POSIX a file is its device and inode, and a name its bytes.
#include <sys/stat.h>

#include "files/file_identity.h"

namespace sipo {
namespace {

FileId IdOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
          S_ISREG(info.st_mode)};
}

}  // namespace

std::optional<FileId> FileIdOf(const std::filesystem::path& name) {
  struct stat info {};
  if (stat(name.c_str(), &info) != 0) return std::nullopt;
  return IdOf(info);
}

std::optional<FileId> FileIdOfDescriptor(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return std::nullopt;
  return IdOf(info);
}

// The folder is opened through the name as given, so that a link or a bind mount in it leads to
// the folder that the file would be made in.
std::optional<FolderEntry> EntryOf(const std::filesystem::path& name) {
  const std::filesystem::path last = name.filename();
  if (last.empty() || last == "." || last == "..") return std::nullopt;
  const std::filesystem::path folder = name.has_parent_path() ? name.parent_path() : ".";
  const std::optional<FileId> id = FileIdOf(folder);
  if (!id) return std::nullopt;
  return FolderEntry{*id, last};
}

bool SameEntryName(const std::filesystem::path& a, const std::filesystem::path& b) {
  return a.native() == b.native();
}

}  // namespace sipo
