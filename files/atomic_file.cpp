// atomic_file.cpp - replaces a file's content only once the new content is written in full.
#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>

#include "files/native_path.h"
#include "files/temporary_files.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace sipo {
namespace {

constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
constexpr int kMaxLinks = 40;

// The file a chain of symbolic links ends at, which is the one to replace; the name itself when
// it is no link (or the chain is too long to follow).
std::filesystem::path FollowLinks(std::filesystem::path path) {
  for (int i = 0; i < kMaxLinks; ++i) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    const std::filesystem::path next = std::filesystem::read_symlink(path, error);
    if (error) return path;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

// An existing target that we may not write to is left alone, as writing to it in place would
// have failed; replacing it through a rename would get past its protection.
bool ExistingTargetWritable(const std::filesystem::path& target) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(target, error);
  if (!std::filesystem::exists(status)) return true;
  if (std::filesystem::is_directory(status)) return false;
  // A file marked read-only stays protected even where the rename would be allowed.
  if ((status.permissions() & std::filesystem::perms::owner_write) ==
      std::filesystem::perms::none) {
    return false;
  }
  std::ofstream probe(target, std::ios::binary | std::ios::app);
  return probe.is_open();
}

std::atomic<std::uint64_t> temporaryCounter{0};

int CreateExclusive(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                _S_IREAD | _S_IWRITE);
#else
  return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
}

// The replaced file keeps the permission bits (and, where allowed, the owner) of the old one.
void CopyPermissions(int fd, const std::filesystem::path& from) {
#ifndef _WIN32
  struct stat info {};
  if (stat(from.c_str(), &info) != 0) return;
  fchmod(fd, info.st_mode & 07777);
  if (fchown(fd, info.st_uid, info.st_gid) != 0) {
    // Only the owner's group or the superuser may give the file away; the new file stays ours.
  }
#else
  (void)fd;
  (void)from;
#endif
}

// True when the close succeeded: a failed close can mean unwritten data.
bool CloseFd(int fd) {
#ifdef _WIN32
  return _close(fd) == 0;
#else
  return close(fd) == 0;
#endif
}

bool SyncFd(int fd) {
#ifdef _WIN32
  return _commit(fd) == 0;
#else
  return fsync(fd) == 0;
#endif
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string_view cp1250Name) {
  Open(NativePath(cp1250Name), !cp1250Name.empty());
}

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& target) {
  Open(target, !target.empty());
}

void AtomicFileWriter::Open(const std::filesystem::path& target, bool usable) {
  target_ = FollowLinks(target);
  if (!usable || !ExistingTargetWritable(target_)) return;
  RemoveStaleTemporaries(target_);
  temporary_ = TemporaryNameFor(target_, CurrentProcessId(), ++temporaryCounter);
  slot_ = RegisterTemporary(temporary_);
  fd_ = CreateExclusive(temporary_);
  if (fd_ < 0) {
    UnregisterTemporary(slot_);
    return;
  }
  CopyPermissions(fd_, target_);
}

AtomicFileWriter::~AtomicFileWriter() {
  Discard();
}

void AtomicFileWriter::Discard() {
  if (fd_ < 0) return;
  CloseFd(fd_);
  fd_ = -1;
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
  UnregisterTemporary(slot_);
}

bool AtomicFileWriter::WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    const std::size_t piece = size < kLargestWrite ? size : kLargestWrite;
#ifdef _WIN32
    const int count = _write(fd_, data, static_cast<unsigned>(piece));
#else
    const ssize_t count = write(fd_, data, piece);
    if (count < 0 && errno == EINTR) continue;
#endif
    if (count <= 0) return false;
    data += count;
    size -= static_cast<std::size_t>(count);
  }
  return true;
}

bool AtomicFileWriter::FlushBuffer() {
  const bool ok = WriteAll(buffer_.get(), used_);
  used_ = 0;
  return ok;
}

void AtomicFileWriter::MakeRoom() {
  if (fd_ < 0) {
    used_ = 0;
  } else if (!FlushBuffer()) {
    Discard();
  }
}

// A failed write removes the temporary at once: a full disk then has its space back for the
// other output of the same run.
void AtomicFileWriter::Write(std::string_view bytes) {
  if (fd_ < 0) {
    used_ = 0;
    return;
  }
  if (used_ + bytes.size() <= kBufferSize) {
    std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
    return;
  }
  if (!FlushBuffer()) return Discard();
  if (bytes.size() >= kBufferSize / 2) {
    if (!WriteAll(bytes.data(), bytes.size())) Discard();
    return;
  }
  std::memcpy(buffer_.get(), bytes.data(), bytes.size());
  used_ = bytes.size();
}

bool AtomicFileWriter::Commit(Durability durability) {
  if (fd_ < 0) return false;
  if (!FlushBuffer() || (durability == Durability::OnDisk && !SyncFd(fd_))) {
    Discard();
    return false;
  }
  bool replaced = CloseFd(std::exchange(fd_, -1));
  std::error_code error;
  if (replaced) std::filesystem::rename(temporary_, target_, error);
  replaced = replaced && !error;
  if (!replaced) std::filesystem::remove(temporary_, error);
  UnregisterTemporary(slot_);
  return replaced;
}

}  // namespace sipo
