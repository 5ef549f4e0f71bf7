// file_identity.cpp - whether two names or descriptors reach one file; the system's side is in
// file_identity_posix.cpp and file_identity_windows.cpp.
#include "files/file_identity.h"

namespace sipo {

FileIdentity IdentityOfName(const std::filesystem::path& name) {
  return {FileIdOf(name), EntryOf(name)};
}

FileIdentity IdentityOfDescriptor(int fd) {
  return {FileIdOfDescriptor(fd), std::nullopt};
}

// The entries are compared even when both files exist: a name that Windows reads with its
// trailing dot dropped must meet the file it opens, whichever of the two spellings exists.
bool SameIdentity(const FileIdentity& a, const FileIdentity& b) {
  if (a.file && b.file && a.file->SameAs(*b.file)) return true;
  return a.entry && b.entry && a.entry->folder.SameAs(b.entry->folder) &&
         SameEntryName(a.entry->name, b.entry->name);
}

}  // namespace sipo
