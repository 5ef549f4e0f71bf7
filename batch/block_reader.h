// block_reader.h - reads a text block by block for a line loop, apart from the loop's scanning:
// each block begins with the unfinished line the last one left, the slack after its data is
// zeroed, and a CR that ended the last block is remembered, so that an LF opening this one is
// taken as that CR's LF and starts no line of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "files/input_file.h"

namespace sipo {

enum class BlockRead {
  Block,      // a block: the carried line and what was read after it
  End,        // the input ended: what is carried (whole units) is its last, unfinished line
  Failed,     // a read failed
  OddLength,  // the input ended with half a unit
};

// Units is ByteUnits or Utf16Units (text_units.h). Memory is one block and its slack, more only
// for a line longer than a block, which doubles it.
template <class Units>
class BlockReader {
 public:
  BlockReader(ByteSource& source, std::size_t blockSize, std::size_t slack)
      : BlockReader(source, blockSize, slack, own_) {}

  // Reads into kept, a buffer the caller keeps from one reader to the next: it only grows, and
  // what an earlier reader left in it is never read (each block's slack is zeroed anew).
  BlockReader(ByteSource& source, std::size_t blockSize, std::size_t slack, std::vector<char>& kept)
      : source_(source), capacity_(blockSize), slack_(slack), buffer_(kept) {
    Reserve();
  }
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  // Reads the next block after the carried line.
  BlockRead Next() {
    if (carried_ == capacity_) {
      capacity_ *= 2;
      Reserve();
    }
    const std::ptrdiff_t count = source_.Read(buffer_.data() + carried_, capacity_ - carried_);
    if (count < 0) return BlockRead::Failed;
    size_ = carried_ + static_cast<std::size_t>(count);
    units_ = size_ - size_ % k;  // half a unit waits for the next read
    std::memset(buffer_.data() + size_, 0, slack_);
    first_ = 0;
    if (count == 0) return carried_ % k != 0 ? BlockRead::OddLength : BlockRead::End;
    if (skipLF_ && units_ > 0) {
      if (Units::At(buffer_.data()) == '\n') first_ = k;
      skipLF_ = false;
    }
    return BlockRead::Block;
  }

  // The block's bytes: [0, Size()), then the zeroed slack. Valid until the next Next().
  char* Data() { return buffer_.data(); }
  std::size_t Size() const { return size_; }
  // The bytes of the block's whole units.
  std::size_t UnitBytes() const { return units_; }
  // The bytes of the last block's unfinished line at the block's start: they hold no line end.
  std::size_t Carried() const { return carried_; }
  // Where the block's first line starts: past the LF of a CR LF whose CR ended the last block.
  std::size_t First() const { return first_; }

  // The unfinished line from offset from (to Size()) opens the next block. A CR just before
  // from, at the end of the block's units, ended a line: an LF opening the next block is its.
  void Carry(std::size_t from) {
    // A block of half a unit leaves the last block's CR pending.
    if (units_ > 0) skipLF_ = from == units_ && Units::At(buffer_.data() + from - k) == '\r';
    carried_ = size_ - from;
    std::memmove(buffer_.data(), buffer_.data() + from, carried_);
  }

  // Whether any input follows the unit at offset at: in the block, or still to be read (one
  // byte is read to know; the reader is done with the input afterwards).
  bool MoreAfter(std::size_t at) {
    char probe;
    return at + k < size_ || source_.Read(&probe, 1) > 0;
  }

 private:
  static constexpr std::size_t k = Units::kSize;

  void Reserve() {
    if (buffer_.size() < capacity_ + slack_) buffer_.resize(capacity_ + slack_);
  }

  ByteSource& source_;
  std::size_t capacity_;
  std::size_t slack_;
  std::vector<char> own_;  // declared before buffer_, which may name it
  std::vector<char>& buffer_;
  std::size_t size_ = 0, units_ = 0, carried_ = 0, first_ = 0;
  bool skipLF_ = false;
};

}  // namespace sipo
