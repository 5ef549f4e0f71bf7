// descriptor_windows.cpp - the file descriptor calls of descriptor.h in the Windows C runtime,
// with wide names so that any file name can be opened whatever the system's code page.
#include "files/descriptor.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace sipo {

int OpenToRead(const std::filesystem::path& path) {
  return _wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int OpenToWriteInPlace(const std::filesystem::path& path) {
  return _wopen(path.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
}

std::ptrdiff_t ReadDescriptor(int fd, char* buffer, std::size_t size) {
  if (size > kLargestTransfer) size = kLargestTransfer;
  int count;
  do {
    count = _read(fd, buffer, static_cast<unsigned>(size));
  } while (count < 0 && errno == EINTR);
  return count;
}

std::ptrdiff_t WriteDescriptor(int fd, const char* data, std::size_t size) {
  if (size > kLargestTransfer) size = kLargestTransfer;
  return _write(fd, data, static_cast<unsigned>(size));
}

// The runtime keeps the system's own code of the failure in _doserrno, which FormatMessage words
// as Windows does; errno alone is a coarser C runtime text.
std::error_code LastError() {
  if (_doserrno != 0) return {static_cast<int>(_doserrno), std::system_category()};
  return {errno, std::generic_category()};
}

void ClearLastError() {
  errno = 0;
  _doserrno = 0;
}

std::error_code NotWritable(int fd) {
  struct _stat64 info {};
  if (_fstat64(fd, &info) != 0) return LastError();
  return {};
}

bool CloseDescriptor(int fd) {
  return _close(fd) == 0;
}

bool SyncDescriptor(int fd) {
  return _commit(fd) == 0;
}

bool FactsOf(int fd, DescriptorFacts& facts) {
  struct _stat64 info {};
  if (_fstat64(fd, &info) != 0) return false;
  facts.directory = S_ISDIR(info.st_mode);
  facts.regular = S_ISREG(info.st_mode);
  facts.size = info.st_size;
  facts.modified = static_cast<std::int64_t>(info.st_mtime);
  return true;
}

// Windows has no pseudo-files of the kind; the common page size stands in.
std::int64_t PageSize() {
  return 4096;
}

void CopyPermissions(int, const std::filesystem::path&) {}

}  // namespace sipo
