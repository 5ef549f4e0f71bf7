// whole_file.cpp - a small file's whole content in memory.
#include "files/whole_file.h"

#include <cstring>

#include "files/input_file.h"
#include "files/native_path.h"

namespace sipo {

char* FileContent::Allocate(std::size_t size) {
  data_ = std::make_unique_for_overwrite<char[]>(size + 1);
  size_ = size;
  capacity_ = size + 1;
  return data_.get();
}

// Read in pieces until the end, so that neither a size that changes meanwhile nor a platform
// whose single read is limited to 32 bits can cut the content short unnoticed.
bool ReadWholeFile(std::string_view cp1250Name, FileContent& content) {
  content.Allocate(0);
  InputFile file;
  if (cp1250Name.empty() || !file.Open(NativePath(cp1250Name))) return false;
  const std::size_t expected =
      file.SizeAtOpen() > 0 ? static_cast<std::size_t>(file.SizeAtOpen()) : 0;
  content.Allocate(expected);
  std::size_t used = 0;
  for (;;) {
    if (used == content.capacity_) {
      FileContent larger;
      std::memcpy(larger.Allocate(used * 2 + 4096), content.data_.get(), used);
      content = std::move(larger);
    }
    const std::ptrdiff_t count = file.Read(content.data_.get() + used, content.capacity_ - used);
    if (count < 0) {
      content.Allocate(0);
      return false;
    }
    if (count == 0) break;
    used += static_cast<std::size_t>(count);
  }
  content.size_ = used;
  return true;
}

}  // namespace sipo
