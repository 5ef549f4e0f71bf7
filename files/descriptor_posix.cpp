// descriptor_posix.cpp - the file descriptor calls of descriptor.h on POSIX.
#include "files/descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace sipo {

int OpenToRead(const std::filesystem::path& path) {
  return open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

int OpenToWriteInPlace(const std::filesystem::path& path) {
  int fd;
  do {
    fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

std::ptrdiff_t ReadDescriptor(int fd, char* buffer, std::size_t size) {
  if (size > kLargestTransfer) size = kLargestTransfer;
  ssize_t count;
  do {
    count = read(fd, buffer, size);
  } while (count < 0 && errno == EINTR);
  return count;
}

std::ptrdiff_t WriteDescriptor(int fd, const char* data, std::size_t size) {
  if (size > kLargestTransfer) size = kLargestTransfer;
  ssize_t count;
  do {
    count = write(fd, data, size);
  } while (count < 0 && errno == EINTR);
  return count;
}

std::error_code LastError() {
  return {errno, std::generic_category()};
}

void ClearLastError() {
  errno = 0;
}

std::error_code NotWritable(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return LastError();
  if ((flags & O_ACCMODE) == O_RDONLY) return {EBADF, std::generic_category()};
  return {};
}

bool CloseDescriptor(int fd) {
  return close(fd) == 0;
}

bool SyncDescriptor(int fd) {
  return fsync(fd) == 0;
}

bool FactsOf(int fd, DescriptorFacts& facts) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return false;
  facts.directory = S_ISDIR(info.st_mode);
  facts.regular = S_ISREG(info.st_mode);
  facts.size = info.st_size;
  facts.modified =
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return true;
}

std::int64_t PageSize() {
  return sysconf(_SC_PAGESIZE);
}

void CopyPermissions(int fd, const std::filesystem::path& from) {
  struct stat info {};
  if (stat(from.c_str(), &info) != 0) return;
  fchmod(fd, info.st_mode & 07777);
  if (fchown(fd, info.st_uid, info.st_gid) != 0) {
    // Only the owner's group or the superuser may give the file away; the new file stays ours.
  }
}

}  // namespace sipo
