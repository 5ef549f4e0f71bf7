// input_file.h - reads a file, or standard input, in blocks with ordinary reads, so that memory
// does not grow with the input and a file of any size can be read on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace sipo {

// What another program altered in a file while it was read: its size (or the length read no
// longer being its size), its modification time, or both.
struct InputChange {
  bool size = false;
  bool time = false;
};

// Bytes read in order, from a file or from anything a test puts in its place.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to size bytes into buffer: the count read, 0 at the end, -1 when the read failed.
  virtual std::ptrdiff_t Read(char* buffer, std::size_t size) = 0;
  // Done with reading: a file is closed, since Windows cannot replace a file that is open, and
  // the input may be one of the outputs.
  virtual void Close() {}
  // The input's size in bytes when it is known before reading, else -1.
  virtual std::int64_t Size() const { return -1; }
  // Whether another program changed the input since it was opened, as far as can be told now;
  // asked before Close, however reading ended.
  virtual bool Changed() const { return false; }
  // What changed, when Changed says so; a source that cannot tell more names its size.
  virtual InputChange WhatChanged() const { return {Changed(), false}; }
  // Why opening or the last read failed, as the system said.
  virtual std::error_code Error() const { return {}; }
};

class InputFile : public ByteSource {
 public:
  InputFile() = default;
  ~InputFile() override;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // False when the file cannot be opened for reading (missing, no access, a directory).
  bool Open(const std::filesystem::path& path);
  // Standard input, which may be a pipe: read as it comes, never as a whole. False when it is
  // closed (the process was started without one).
  bool OpenStandardInput();

  std::ptrdiff_t Read(char* buffer, std::size_t size) override;
  void Close() override;

  // The size a regular file had when it was opened; -1 for anything else.
  std::int64_t SizeAtOpen() const { return sizeAtOpen_; }
  // A size of 0 is not taken as known: files of /proc and /sys report it and hold more.
  std::int64_t Size() const override { return sizeAtOpen_ > 0 ? sizeAtOpen_ : -1; }
  // True once the end was reached on a regular file whose size or modification time was no
  // longer the one it had when it was opened, or whose length read differs from its size:
  // another program changed it. Read then reports a failure, since what was read is neither the
  // old content nor the new one. A file that reports 0 or a page as its size and stays so (a file
  // of /proc or /sys) is read to its end like a pipe. Before the end (a NUL ended the text), what
  // differs now from the size and the modification time it had.
  bool Changed() const override {
    const InputChange change = WhatChanged();
    return change.size || change.time;
  }
  InputChange WhatChanged() const override;
  std::error_code Error() const override { return error_; }

 private:
  bool AtEndUnchanged();

  int fd_ = -1;
  bool ownsFd_ = false;
  bool standardInput_ = false;
  std::int64_t sizeAtOpen_ = -1;
  std::int64_t timeAtOpen_ = 0;
  std::int64_t bytesRead_ = 0;
  InputChange change_;
  std::error_code error_;
};

}  // namespace sipo
