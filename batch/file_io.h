// file_io.h - whole-file reads and atomic whole-file replacement, with Windows-1250 file names.
#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace sipo {

// The platform's path for a file name held as Windows-1250 bytes (wide on Windows).
std::filesystem::path NativePath(std::string_view cp1250Name);

// A file's whole content in memory: a buffer of its own, or on POSIX systems the file mapped
// read-only, which spares a copy of large inputs.
class FileContent {
 public:
  FileContent() = default;
  ~FileContent();
  FileContent(FileContent&& other) noexcept;
  FileContent& operator=(FileContent&& other) noexcept;

  std::string_view View() const { return {data_, size_}; }
  // Replaces the content with an uninitialised buffer of this size.
  char* Allocate(std::size_t size);

 private:
  friend bool ReadWholeFile(std::string_view cp1250Name, FileContent& content);
  void Release();

  std::unique_ptr<char[]> owned_;
  void* mapping_ = nullptr;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
};

// False when the file cannot be opened or read (missing, no access, a directory).
bool ReadWholeFile(std::string_view cp1250Name, FileContent& content);

// Writes a new content for a file into a temporary file beside it, which replaces the file only
// once everything is written. Until Commit succeeds the file keeps its old content; a writer that
// is dropped or fails removes its temporary file.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string_view cp1250Name);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool IsOpen() const { return ok_; }
  void Write(std::string_view bytes);
  // Flushes, closes and replaces the target; false when any step failed.
  bool Commit();

 private:
  void Flush();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::ofstream out_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool ok_ = false;
  bool committed_ = false;
};

}  // namespace sipo
