// file_identity.h - which file a name or an open descriptor reaches, as the system tells files
// apart. A file that exists is known by its own identity (device and inode; on Windows the
// volume's serial number and the file index), which sees hard links and every spelling; a name
// is also known by its folder's identity and its last name, compared as the file system compares
// names, which sees a file not made yet through any spelling of its folder (a link, a bind
// mount, a second drive letter, a "\\?\" name).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace sipo {

struct FileId {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool regular = false;  // a regular file, no folder, device or pipe
  bool SameAs(const FileId& other) const { return volume == other.volume && index == other.index; }
};

// Where a name is, or would be made: its folder and its last name in the form its file system
// compares (on Windows without the trailing dots and blanks that Windows drops).
struct FolderEntry {
  FileId folder;
  std::filesystem::path name;
};

struct FileIdentity {
  std::optional<FileId> file;        // the file itself, when it exists
  std::optional<FolderEntry> entry;  // its place, when it is reached by a name
};

// The file a name opens, every link followed; nothing when there is none.
std::optional<FileId> FileIdOf(const std::filesystem::path& name);
// The file an open descriptor is on; nothing for a pipe or a console on Windows.
std::optional<FileId> FileIdOfDescriptor(int fd);
// Where a name would be made; nothing when its folder cannot be opened or its last name names no
// file ("", ".", "..").
std::optional<FolderEntry> EntryOf(const std::filesystem::path& name);
// Whether two last names name one entry of a folder: byte for byte on POSIX; on Windows with
// letter case ignored as the file system ignores it.
bool SameEntryName(const std::filesystem::path& a, const std::filesystem::path& b);

FileIdentity IdentityOfName(const std::filesystem::path& name);
FileIdentity IdentityOfDescriptor(int fd);
// One file: the same existing file, or the same name in the same folder.
bool SameIdentity(const FileIdentity& a, const FileIdentity& b);

}  // namespace sipo
