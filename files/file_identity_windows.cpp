// file_identity_windows.cpp - on Windows a file is its volume's serial number and its file
// index, and a name is read as Windows reads it: made full, its trailing dots and blanks dropped,
// its letter case ignored.
#include <io.h>

#include <string>

#include "files/file_identity.h"
#include "files/file_index_windows.h"

namespace sipo {
namespace {

std::optional<FileId> IdOf(const std::optional<FileIndex>& index) {
  if (!index) return std::nullopt;
  return FileId{index->volume, index->index, index->regular};
}

// Windows drops them from a name's end when it opens or makes a file.
void DropTrailingDotsAndBlanks(std::wstring& name) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
}

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

}  // namespace

std::optional<FileId> FileIdOf(const std::filesystem::path& name) {
  return IdOf(FileIndexOf(name.native()));
}

std::optional<FileId> FileIdOfDescriptor(int fd) {
  return IdOf(FileIndexOfHandle(_get_osfhandle(fd)));
}

// "\\?\Z:\dir\new.txt", "\\.\Z:\dir\new.txt", "Z:/dir/sub/../new.txt " and "new.txt." in Z:\dir
// all come to the folder Z:\dir, opened for its identity, and the name "new.txt". A drive's root
// keeps its backslash: "Z:" alone (or "\\.\Z:") is the current folder or the volume itself.
std::optional<FolderEntry> EntryOf(const std::filesystem::path& name) {
  const std::wstring full = FullPathName(name.native());
  std::size_t end = full.size();
  while (end > 0 && IsSeparator(full[end - 1])) --end;
  std::size_t start = end;
  while (start > 0 && !IsSeparator(full[start - 1])) --start;
  std::wstring last = full.substr(start, end - start);
  DropTrailingDotsAndBlanks(last);
  if (start == 0 || last.empty() || last == L"." || last == L"..") return std::nullopt;
  std::wstring folder = full.substr(0, start - 1);
  if (folder.empty() || folder.back() == L':') folder.push_back(L'\\');
  std::optional<FileId> id = IdOf(FileIndexOf(folder));
  // A share's root ("\\server\share") opens with its backslash.
  if (!id) id = IdOf(FileIndexOf(folder + L'\\'));
  if (!id) return std::nullopt;
  return FolderEntry{*id, std::filesystem::path(last)};
}

bool SameEntryName(const std::filesystem::path& a, const std::filesystem::path& b) {
  return SameIgnoringCase(a.native(), b.native());
}

}  // namespace sipo
