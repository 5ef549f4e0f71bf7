// input_file.cpp - reads a file, or standard input, in blocks with ordinary reads.
#include "files/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace sipo {
namespace {

#ifdef _WIN32
using FileInfo = struct _stat64;
int InfoOf(int fd, FileInfo& info) {
  return _fstat64(fd, &info);
}
#else
using FileInfo = struct stat;
int InfoOf(int fd, FileInfo& info) {
  return fstat(fd, &info);
}
#endif

// The modification time as finely as the system keeps it.
std::int64_t ModificationTime(const FileInfo& info) {
#ifdef _WIN32
  return static_cast<std::int64_t>(info.st_mtime);
#else
  return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
#endif
}

// The sizes that pseudo-files report whatever they hold.
bool IsPseudoSize(std::int64_t size) {
#ifdef _WIN32
  const std::int64_t page = 4096;
#else
  const std::int64_t page = sysconf(_SC_PAGESIZE);
#endif
  return size == 0 || size == page;
}

// One call reads at most this much, which also keeps the Windows count, an unsigned int, in range.
constexpr std::size_t kLargestRead = std::size_t{1} << 30;

}  // namespace

InputFile::~InputFile() {
  Close();
}

void InputFile::Close() {
  if (!ownsFd_) return;
#ifdef _WIN32
  _close(fd_);
#else
  close(fd_);
#endif
  ownsFd_ = false;
  fd_ = -1;
}

bool InputFile::Open(const std::filesystem::path& path) {
#ifdef _WIN32
  const int fd = _wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
#else
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
#endif
  if (fd < 0) return false;
  fd_ = fd;
  ownsFd_ = true;
  FileInfo info{};
  if (InfoOf(fd_, info) != 0 || S_ISDIR(info.st_mode)) return false;
  if (S_ISREG(info.st_mode)) {
    sizeAtOpen_ = info.st_size;
    timeAtOpen_ = ModificationTime(info);
  }
  return true;
}

bool InputFile::OpenStandardInput() {
  fd_ = 0;
  standardInput_ = true;
  FileInfo info{};
  if (InfoOf(fd_, info) != 0) return false;
  if (S_ISREG(info.st_mode)) {
    sizeAtOpen_ = info.st_size;
    timeAtOpen_ = ModificationTime(info);
  }
  return true;
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t size) {
  if (size > kLargestRead) size = kLargestRead;
  for (;;) {
#ifdef _WIN32
    const int count = _read(fd_, buffer, static_cast<unsigned>(size));
#else
    const ssize_t count = read(fd_, buffer, size);
#endif
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return -1;
    if (count == 0 && !AtEndUnchanged()) return -1;
    bytesRead_ += count;
    return count;
  }
}

// Standard input that is a regular file may start part-way into it: only the size counts there.
bool InputFile::AtEndUnchanged() {
  if (sizeAtOpen_ < 0) return true;
  FileInfo info{};
  const bool same = InfoOf(fd_, info) == 0 && info.st_size == sizeAtOpen_ &&
                    ModificationTime(info) == timeAtOpen_;
  const bool readAll =
      standardInput_ || bytesRead_ == sizeAtOpen_ || (same && IsPseudoSize(sizeAtOpen_));
  changed_ = !(same && readAll);
  return !changed_;
}

}  // namespace sipo
