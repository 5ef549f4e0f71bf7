// whole_file.h - a small file's whole content in memory (the settings file, a line list).
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace sipo {

class FileContent {
 public:
  std::string_view View() const { return {data_.get(), size_}; }
  // Replaces the content with an uninitialised buffer of this size.
  char* Allocate(std::size_t size);

 private:
  friend bool ReadWholeFile(std::string_view cp1250Name, FileContent& content);

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// False when the file cannot be opened or read (missing, no access, a directory), or changed
// its size while it was read; the content is then empty.
bool ReadWholeFile(std::string_view cp1250Name, FileContent& content);

}  // namespace sipo
