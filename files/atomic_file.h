// atomic_file.h - replaces a file's content only once the new content is written in full.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sipo {

// Why an output cannot be written at all: it is a folder, or a loop of symbolic links. Nothing
// when it can be tried.
std::optional<std::string_view> OutputRefusal(const std::filesystem::path& target);

// Writes into a temporary file beside the target, which replaces the target at Commit. Until
// then the target keeps its old content; a writer that fails or is dropped removes its temporary
// at once. The replaced file keeps its permission bits, and a target that is a symbolic link
// stays one: the file it points to is replaced. A target that is a device or a FIFO (the null
// device, a terminal, a pipe another program reads) is no file to replace: it is written in
// place as the bytes come, and opening a FIFO waits for its reader.
class AtomicFileWriter {
 public:
  // A Windows-1250 name; an empty one cannot be written.
  explicit AtomicFileWriter(std::string_view cp1250Name);
  explicit AtomicFileWriter(const std::string& cp1250Name)
      : AtomicFileWriter(std::string_view(cp1250Name)) {}
  // A name as the platform spells it.
  explicit AtomicFileWriter(const std::filesystem::path& target);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // False once opening or a write has failed; writes are then ignored.
  bool IsOpen() const { return fd_ >= 0; }
  void Write(std::string_view bytes);
  // For many short pieces: room for kRoom bytes in the writer's buffer, which the caller may fill
  // whole (so that it can copy in fixed-size moves) before it accepts the first size bytes with
  // Advance. Always usable; what a failed writer is given is dropped.
  static constexpr std::size_t kRoom = 64;
  char* Room() {
    if (kBufferSize - used_ < kRoom) MakeRoom();
    return buffer_.get() + used_;
  }
  void Advance(std::size_t size) { used_ += size; }
  // Writes what is pending, optionally forces it to the disk, and replaces the target; false
  // when any step failed.
  enum class Durability { Ordinary, OnDisk };
  bool Commit(Durability durability = Durability::Ordinary);
  // Gives up: the temporary is removed and the target stays as it was.
  void Discard();

 private:
  static constexpr std::size_t kBufferSize = std::size_t{128} << 10;

  void Open(const std::filesystem::path& target, bool usable);
  void OpenTemporary();
  void CloseFolder();
  void MakeRoom();
  bool WriteAll(const char* data, std::size_t size);
  bool FlushBuffer();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  int slot_ = -1;
  int folderFd_ = -1;     // POSIX: the target's folder, which names are opened relative to
  bool inPlace_ = false;  // a device or a FIFO, written directly
  std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  std::size_t used_ = 0;
};

}  // namespace sipo
