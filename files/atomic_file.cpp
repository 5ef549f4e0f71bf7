// atomic_file.cpp - replaces a file's content only once the new content is written in full.
#include "files/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>
#include <system_error>
#include <utility>

#include "files/descriptor.h"
#include "files/interruption.h"
#include "files/native_path.h"
#include "files/temporary_files.h"
#include "files/temporary_files_platform.h"

namespace sipo {
namespace {

std::atomic<std::uint64_t> temporaryCounter{0};

std::error_code Generic(int code) {
  return {code, std::generic_category()};
}

// A failure that set no error of its own (a write that took nothing) still needs a reason.
std::error_code LastErrorOr(int code) {
  const std::error_code error = LastError();
  return error ? error : Generic(code);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string_view cp1250Name) {
  if (cp1250Name.empty()) {
    error_ = Generic(ENOENT);
    return;
  }
  Open(TargetOf(NativePath(cp1250Name)));
}

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& target) {
  if (target.empty()) {
    error_ = Generic(ENOENT);
    return;
  }
  Open(TargetOf(target));
}

AtomicFileWriter::AtomicFileWriter(const OutputTarget& target) {
  if (target.kind != OutputTarget::Kind::Descriptor && target.path.empty()) {
    error_ = Generic(ENOENT);
    return;
  }
  Open(target);
}

void AtomicFileWriter::Open(const OutputTarget& target) {
  if (const std::optional<Refusal> refusal = RefusalOf(target)) {
    error_ = refusal->error;
    return;
  }
  target_ = target.path;
  switch (target.kind) {
    case OutputTarget::Kind::Descriptor:
      mode_ = Mode::Borrowed;
      error_ = NotWritable(target.descriptor);
      if (!error_) fd_ = target.descriptor;
      return;
    case OutputTarget::Kind::Device:
      mode_ = Mode::InPlace;
      ClearLastError();
      fd_ = OpenToWriteInPlace(target_);
      if (fd_ < 0) error_ = LastErrorOr(EACCES);
      return;
    default:
      if (ExistingTargetWritable()) OpenTemporary();
      return;
  }
}

// An existing target that we may not write to is left alone, as writing to it in place would
// have failed; replacing it through a rename would get past its protection.
bool AtomicFileWriter::ExistingTargetWritable() {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(target_, error);
  if (!std::filesystem::exists(status)) return true;
  // A file marked read-only stays protected even where the rename would be allowed.
  if ((status.permissions() & std::filesystem::perms::owner_write) ==
      std::filesystem::perms::none) {
    error_ = Generic(EACCES);
    return false;
  }
  ClearLastError();
  const int probe = OpenToWriteInPlace(target_);
  if (probe < 0) {
    error_ = LastErrorOr(EACCES);
    return false;
  }
  CloseDescriptor(probe);
  return true;
}

// A name that exists already (a leftover whose process id came back, or another writer's) is
// never used: the next counter gives a fresh one.
void AtomicFileWriter::OpenTemporary() {
  ClearLastError();
  if (!OpenTargetFolder(target_, folderFd_)) {
    error_ = LastErrorOr(ENOENT);
    return;
  }
  RemoveStaleTemporaries(target_, folderFd_);
  for (int attempt = 0; attempt < 1000; ++attempt) {
    temporary_ = TemporaryNameFor(target_, CurrentProcessId(), ++temporaryCounter);
    slot_ = RegisterTemporary(temporary_, folderFd_);
    ClearLastError();
    fd_ = CreateTemporary(folderFd_, temporary_);
    if (fd_ >= 0) {
      temporaryMade_ = true;
      AttachTemporaryFile(slot_, fd_);
      CopyPermissions(fd_, target_);
      return;
    }
    const int cause = errno;
    error_ = LastErrorOr(EACCES);
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

// A console handler on Windows may have closed the temporary already; it is then not closed
// twice. A descriptor the process had stays open.
void AtomicFileWriter::Discard() {
  const int fd = std::exchange(fd_, -1);
  if (mode_ == Mode::Borrowed) return;
  if (mode_ == Mode::InPlace) {
    if (fd >= 0) CloseDescriptor(fd);
    return;
  }
  if (!temporaryMade_) return;
  temporaryMade_ = false;
  if (fd >= 0 && TakeBackTemporaryFile(slot_)) CloseDescriptor(fd);
  RemoveTemporary(folderFd_, temporary_);
  UnregisterTemporary(std::exchange(slot_, -1));
  CloseFolder();
}

bool AtomicFileWriter::WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    ClearLastError();
    const std::ptrdiff_t count = WriteDescriptor(fd_, data, size);
    if (count <= 0) {
      error_ = LastErrorOr(count == 0 ? ENOSPC : EIO);
      return false;
    }
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

// A failed write removes the temporary at once: a full disk then has its space back for the
// other output of the same run.
bool AtomicFileWriter::Fail() {
  Discard();
  return false;
}

void AtomicFileWriter::MakeRoom() {
  if (fd_ < 0) {
    used_ = 0;
  } else if (!FlushBuffer()) {
    Fail();
  }
}

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
  if (!FlushBuffer()) {
    Fail();
    return;
  }
  if (bytes.size() >= kBufferSize / 2) {
    if (!WriteAll(bytes.data(), bytes.size())) Fail();
    return;
  }
  std::memcpy(buffer_.get(), bytes.data(), bytes.size());
  used_ = bytes.size();
}

void AtomicFileWriter::CommitTogether(AtomicFileWriter& first, AtomicFileWriter& second) {
  first.partner_ = &second;
  second.partner_ = &first;
}

// Everything written out and the file closed, so that only the rename is left. An output written
// in place is done here: it has no old content to keep.
bool AtomicFileWriter::Prepare(Durability durability) {
  if (fd_ < 0) return false;
  if (!FlushBuffer()) return Fail();
  if (mode_ == Mode::Borrowed) {
    fd_ = -1;
    return true;
  }
  if (mode_ == Mode::InPlace) {
    ClearLastError();
    if (CloseDescriptor(std::exchange(fd_, -1))) return true;
    error_ = LastErrorOr(EIO);
    return false;
  }
  ClearLastError();
  if (durability == Durability::OnDisk && !SyncDescriptor(fd_)) {
    error_ = LastErrorOr(EIO);
    return Fail();
  }
  const int fd = std::exchange(fd_, -1);
  ClearLastError();
  if (TakeBackTemporaryFile(slot_) && CloseDescriptor(fd)) return true;
  error_ = LastErrorOr(EIO);
  return Fail();
}

// Puts the prepared temporary in the target's place.
bool AtomicFileWriter::Replace() {
  if (mode_ != Mode::Temporary) return true;
  const std::error_code failed = RenameTemporary(folderFd_, temporary_, target_);
  const bool replaced = !failed;
  if (!replaced) {
    error_ = failed;
    RemoveTemporary(folderFd_, temporary_);
  }
  temporaryMade_ = false;
  UnregisterTemporary(std::exchange(slot_, -1));
  CloseFolder();
  return replaced;
}

bool AtomicFileWriter::Commit(Durability durability) {
  if (outcome_) return *outcome_;
  if (partner_ != nullptr) return CommitPair(durability);
  outcome_ = Prepare(durability) && Replace();
  return *outcome_;
}

// Both are written out before either replaces its target; one that cannot be written, or the
// first that cannot replace its target, keeps the other's target as it was (a device or standard
// output has had its bytes already).
bool AtomicFileWriter::CommitPair(Durability durability) {
  AtomicFileWriter& other = *partner_;
  const bool mine = Prepare(durability);
  const bool theirs = other.Prepare(durability);
  if (mine && theirs) {
    // A first replacement that failed keeps the second target as it was too.
    outcome_ = Replace();
    other.outcome_ = *outcome_ && other.Replace();
    if (!*outcome_) other.Discard();
  } else {
    outcome_ = mine && WritesInPlace();
    other.outcome_ = theirs && other.WritesInPlace();
    Discard();
    other.Discard();
  }
  partner_ = other.partner_ = nullptr;
  return *outcome_;
}

}  // namespace sipo
