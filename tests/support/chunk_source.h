// chunk_source.h - an input that hands out a text in pieces, as a pipe does, and can fail.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "files/input_file.h"

namespace sipo::test {

// Hands out a text in pieces of the given sizes, in turn, and fails once failAt bytes are read.
class ChunkSource : public ByteSource {
 public:
  ChunkSource(std::string text, std::vector<std::size_t> pieces, std::size_t failAt = SIZE_MAX)
      : text_(std::move(text)), pieces_(std::move(pieces)), failAt_(failAt) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    if (offset_ >= failAt_) return -1;
    std::size_t count = std::min({size, pieces_[next_++ % pieces_.size()], text_.size() - offset_});
    text_.copy(buffer, count, offset_);
    offset_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }

 private:
  std::string text_;
  std::vector<std::size_t> pieces_;
  std::size_t failAt_;
  std::size_t offset_ = 0;
  std::size_t next_ = 0;
};

}  // namespace sipo::test
