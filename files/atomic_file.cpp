// atomic_file.cpp - replaces a file's content only once the new content is written in full.
#include "files/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

#include "files/descriptor.h"
#include "files/native_path.h"
#include "files/interruption.h"
#include "files/temporary_files.h"
#include "files/temporary_files_platform.h"

namespace sipo {
namespace {

constexpr int kMaxLinks = 40;

// The file a chain of symbolic links ends at, which is the one to replace; the name itself when
// it is no link. Nothing for a loop (or a chain too long to follow), which no write can end at.
std::optional<std::filesystem::path> FollowLinks(std::filesystem::path path) {
  for (int i = 0; i < kMaxLinks; ++i) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
      // The library may not see every link the system follows (Windows under Wine).
      return std::filesystem::exists(path, error) ? ResolvedByPlatform(path) : path;
    }
    const std::filesystem::path next = std::filesystem::read_symlink(path, error);
    if (error) return path;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return std::nullopt;
}

enum class TargetKind { File, Device, Directory };

// A device or a FIFO is written where it is: replacing it by a file would break it for every
// other program.
TargetKind KindOf(const std::filesystem::path& target) {
  if (IsWindowsDeviceName(target)) return TargetKind::Device;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(target, error);
  if (std::filesystem::is_directory(status)) return TargetKind::Directory;
  if (std::filesystem::is_character_file(status) || std::filesystem::is_fifo(status))
    return TargetKind::Device;
  return TargetKind::File;
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

}  // namespace

std::optional<std::string_view> OutputRefusal(const std::filesystem::path& target) {
  const std::optional<std::filesystem::path> followed = FollowLinks(target);
  if (!followed) return "is a loop of symbolic links";
  if (KindOf(*followed) == TargetKind::Directory) return "is a directory";
  return std::nullopt;
}

AtomicFileWriter::AtomicFileWriter(std::string_view cp1250Name) {
  Open(NativePath(cp1250Name), !cp1250Name.empty());
}

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& target) {
  Open(target, !target.empty());
}

void AtomicFileWriter::Open(const std::filesystem::path& target, bool usable) {
  const std::optional<std::filesystem::path> followed = FollowLinks(target);
  if (!usable || !followed) return;
  target_ = *followed;
  switch (KindOf(target_)) {
    case TargetKind::Directory:
      return;
    case TargetKind::Device:
      fd_ = OpenToWriteInPlace(target_);
      inPlace_ = true;
      return;
    case TargetKind::File:
      if (ExistingTargetWritable(target_)) OpenTemporary();
      return;
  }
}

// A name that exists already (a leftover whose process id came back, or another writer's) is
// never used: the next counter gives a fresh one.
void AtomicFileWriter::OpenTemporary() {
  if (!OpenTargetFolder(target_, folderFd_)) return;
  RemoveStaleTemporaries(target_, folderFd_);
  for (int attempt = 0; attempt < 1000; ++attempt) {
    temporary_ = TemporaryNameFor(target_, CurrentProcessId(), ++temporaryCounter);
    slot_ = RegisterTemporary(temporary_, folderFd_);
    fd_ = CreateTemporary(folderFd_, temporary_);
    if (fd_ >= 0) {
      AttachTemporaryFile(slot_, fd_);
      CopyPermissions(fd_, target_);
      return;
    }
    const int cause = errno;
    UnregisterTemporary(std::exchange(slot_, -1));
    if (cause != EEXIST) break;
  }
  CloseFolder();
}

void AtomicFileWriter::CloseFolder() {
  if (folderFd_ >= 0) CloseDescriptor(std::exchange(folderFd_, -1));
}

AtomicFileWriter::~AtomicFileWriter() {
  Discard();
}

// A console handler on Windows may have closed the temporary already; it is then not closed twice.
void AtomicFileWriter::Discard() {
  if (fd_ < 0) return;
  const int fd = std::exchange(fd_, -1);
  if (inPlace_) {
    CloseDescriptor(fd);
    return;
  }
  if (TakeBackTemporaryFile(slot_)) CloseDescriptor(fd);
  RemoveTemporary(folderFd_, temporary_);
  UnregisterTemporary(std::exchange(slot_, -1));
  CloseFolder();
}

bool AtomicFileWriter::WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    const std::ptrdiff_t count = WriteDescriptor(fd_, data, size);
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
  if (inPlace_) {
    const bool written = FlushBuffer();
    return CloseDescriptor(std::exchange(fd_, -1)) && written;
  }
  if (!FlushBuffer() || (durability == Durability::OnDisk && !SyncDescriptor(fd_))) {
    Discard();
    return false;
  }
  const int fd = std::exchange(fd_, -1);
  bool replaced = TakeBackTemporaryFile(slot_) && CloseDescriptor(fd);
  replaced = replaced && RenameTemporary(folderFd_, temporary_, target_);
  if (!replaced) RemoveTemporary(folderFd_, temporary_);
  UnregisterTemporary(std::exchange(slot_, -1));
  CloseFolder();
  return replaced;
}

}  // namespace sipo
