// text_start.cpp - the start of a text: its byte-order mark and its first line, each read once.
#include "batch/text_start.h"

#include <algorithm>
#include <cstring>

#include "batch/block_reader.h"
#include "batch/text_units.h"
#include "batch/workbook_start.h"

namespace sipo {

// The mark is read block by block with the reader the line loops use, each read taking what the
// input has (a terminal's line), until its bytes decide it.
bool TextStart::ReadMark() {
  BlockReader<ByteUnits> reader(*this, readSize_, 0);
  for (;;) {
    const BlockRead read = reader.Next();
    if (read == BlockRead::Failed) return false;
    if (read != BlockRead::Block || MarkDecidedBy({reader.Data(), reader.Size()})) break;
    reader.Carry(0);
  }
  pending_.assign(reader.Data(), reader.Data() + reader.Size());
  mark_ = MarkOf(std::string_view(pending_.data(), pending_.size()));
  next_ = mark_.bytes.size();
  return true;
}

bool TextStart::ReadUntil(std::size_t size) {
  char buffer[kWorkbookSignatureSize];
  while (!ended_ && pending_.size() < size) {
    const std::ptrdiff_t count =
        input_.Read(buffer, std::min(size - pending_.size(), sizeof buffer));
    if (count < 0) return false;
    if (count == 0) ended_ = true;
    pending_.insert(pending_.end(), buffer, buffer + count);
  }
  return true;
}

bool TextStart::ReadWorkbookSignature() {
  if (!ReadUntil(kZipSignatureSize)) return false;
  return !MayStartCompoundFile(Pending()) || ReadUntil(kWorkbookSignatureSize);
}

bool TextStart::IsWorkbook() const {
  return StartsLikeWorkbook(Pending());
}

// The first line read through the block reader that every line loop reads with: the bytes read
// past the mark come first. A CR at a block's end waits for the next block, which tells whether
// an LF follows it.
template <class Units>
bool TextStart::ReadFirstLineBy() {
  constexpr std::size_t k = Units::kSize;
  BlockReader<Units> reader(*this, readSize_, 0);
  std::size_t at = 0;
  std::size_t lineEnd = 0;  // the line end's size in bytes, once found
  bool end = false;
  for (;;) {
    const BlockRead read = reader.Next();
    if (read == BlockRead::Failed) return false;
    end = read != BlockRead::Block;
    const char* const data = reader.Data();
    const std::size_t units = reader.UnitBytes();
    for (; at + k <= units; at += k) {
      const unsigned unit = Units::At(data + at);
      if (unit == '\r' && at + 2 * k > units && !end) break;  // LF may come next
      if (unit == '\r')
        lineEnd = at + 2 * k <= units && Units::At(data + at + k) == '\n' ? 2 * k : k;
      if (unit == '\n' || unit == 0) lineEnd = k;
      if (lineEnd != 0) break;
    }
    if (lineEnd != 0 || end) break;
    reader.Carry(0);  // the line so far stays where it is; the scan goes on from at
  }
  const char* const data = reader.Data();
  const bool nul = lineEnd != 0 && Units::At(data + at) == 0;
  // The units before a NUL still form a line; an empty text has none.
  hasFirstLine_ = at > 0 || (lineEnd != 0 && !nul);
  firstLine_.assign(data, data + at);
  // What the reader holds past the line (half a unit at the end too, for the sort to refuse) is
  // handed out before what was read and not yet taken.
  std::vector<char> rest(data + at + lineEnd, data + reader.Size());
  rest.insert(rest.end(), pending_.begin() + static_cast<std::ptrdiff_t>(next_), pending_.end());
  pending_ = std::move(rest);
  next_ = 0;
  if (nul) {
    // Nothing after a NUL is read; whether anything followed it decides the report.
    nulEnded_ = !pending_.empty() || (!ended_ && reader.MoreAfter(at));
    ended_ = true;
    next_ = pending_.size();
  }
  return true;
}

bool TextStart::ReadFirstLine() {
  switch (mark_.encoding) {
    case TextEncoding::Utf16LE:
      return ReadFirstLineBy<Utf16Units<false>>();
    case TextEncoding::Utf16BE:
      return ReadFirstLineBy<Utf16Units<true>>();
    default:
      return ReadFirstLineBy<ByteUnits>();
  }
}

std::ptrdiff_t TextStart::Read(char* buffer, std::size_t size) {
  if (next_ < pending_.size()) {
    const std::size_t count = std::min(size, pending_.size() - next_);
    std::memcpy(buffer, pending_.data() + next_, count);
    next_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }
  if (ended_) return 0;
  const std::ptrdiff_t count = input_.Read(buffer, size);
  if (count == 0) ended_ = true;
  return count;
}

}  // namespace sipo
