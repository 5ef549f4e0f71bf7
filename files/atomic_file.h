// atomic_file.h - replaces a file's content only once the new content is written in full.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "files/output_target.h"

namespace sipo {

// Writes into a temporary file beside the target, which replaces the target at Commit. Until
// then the target keeps its old content; a writer that fails or is dropped removes its temporary
// at once. The replaced file keeps its permission bits, and a target that is a symbolic link
// stays one: the file it points to is replaced. A target that is a device or a FIFO (the null
// device, a terminal, a pipe another program reads) is no file to replace: it is written in
// place as the bytes come, and opening a FIFO waits for its reader. A target that is one of the
// process's own descriptors (standard output) is written through it and never closed.
class AtomicFileWriter {
 public:
  // A Windows-1250 name; an empty one cannot be written.
  explicit AtomicFileWriter(std::string_view cp1250Name);
  explicit AtomicFileWriter(const std::string& cp1250Name)
      : AtomicFileWriter(std::string_view(cp1250Name)) {}
  // A name as the platform spells it.
  explicit AtomicFileWriter(const std::filesystem::path& target);
  explicit AtomicFileWriter(const OutputTarget& target);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // False once opening or a write has failed; writes are then ignored.
  bool IsOpen() const { return fd_ >= 0; }
  // Why opening, a write or the replacement failed, as the system said; nothing when none did
  // (a writer held back by its partner's failure included).
  const std::error_code& Error() const { return error_; }
  // Whether the bytes go out as they come (a device, a pipe, standard output): a run that fails
  // has already sent them some.
  bool WritesInPlace() const { return mode_ != Mode::Temporary; }

  // Binds two writers so that the first Commit of either replaces both targets or neither: each
  // is written out in full first, and only then are both replaced. The other's Commit then gives
  // its own outcome. Both must outlive the commit.
  static void CommitTogether(AtomicFileWriter& first, AtomicFileWriter& second);

  void Write(std::string_view bytes);
  // For many short pieces: the position of at least size free bytes in the writer's buffer
  // (size at most kMaxReserve), which the caller fills as it likes, holding the position in its
  // own variable, and then hands back the end of what it wrote with Filled. Always usable; what a
  // failed writer is given is dropped.
  static constexpr std::size_t kMaxReserve = std::size_t{32} << 10;
  char* Reserve(std::size_t size) {
    if (kBufferSize - used_ < size) MakeRoom();
    return buffer_.get() + used_;
  }
  void Filled(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
  // Writes what is pending, optionally forces it to the disk, and replaces the target; false
  // when any step failed (or, for writers committed together, when the other's did).
  enum class Durability { Ordinary, OnDisk };
  bool Commit(Durability durability = Durability::Ordinary);
  // Gives up: the temporary is removed and the target stays as it was.
  void Discard();

 private:
  static constexpr std::size_t kBufferSize = std::size_t{128} << 10;
  static_assert(kMaxReserve <= kBufferSize);
  // Temporary: a file beside the target; InPlace: a device or FIFO opened here; Borrowed: a
  // descriptor the process already had.
  enum class Mode { Temporary, InPlace, Borrowed };

  void Open(const OutputTarget& target);
  bool ExistingTargetWritable();
  void OpenTemporary();
  void CloseFolder();
  void MakeRoom();
  bool WriteAll(const char* data, std::size_t size);
  bool FlushBuffer();
  bool Fail();
  bool Prepare(Durability durability);
  bool Replace();
  bool CommitPair(Durability durability);

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  Mode mode_ = Mode::Temporary;
  int fd_ = -1;
  int slot_ = -1;
  int folderFd_ = -1;           // POSIX: the target's folder, which names are opened relative to
  bool temporaryMade_ = false;  // the temporary exists (open, or closed awaiting its rename)
  std::error_code error_;
  AtomicFileWriter* partner_ = nullptr;
  std::optional<bool> outcome_;  // set once a commit has decided
  std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  std::size_t used_ = 0;
};

}  // namespace sipo
