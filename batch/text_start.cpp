// text_start.cpp - the start of a text: its byte-order mark and its first line, each read once.
#include "batch/text_start.h"

#include <algorithm>
#include <cstring>

#include "batch/text_units.h"

namespace sipo {

// Appends one read to what is pending; false when it failed.
bool TextStart::Fill(std::size_t size) {
  const std::size_t have = pending_.size();
  pending_.resize(have + size);
  const std::ptrdiff_t count = input_.Read(pending_.data() + have, size);
  pending_.resize(have + static_cast<std::size_t>(std::max<std::ptrdiff_t>(count, 0)));
  if (count == 0) ended_ = true;
  return count >= 0;
}

bool TextStart::ReadMark() {
  while (!ended_ && !MarkDecidedBy(std::string_view(pending_.data(), pending_.size()))) {
    if (!Fill(readSize_)) return false;
  }
  mark_ = MarkOf(std::string_view(pending_.data(), pending_.size()));
  next_ = mark_.bytes.size();
  return true;
}

std::size_t TextStart::UnitSize() const {
  const bool utf16 =
      mark_.encoding == TextEncoding::Utf16LE || mark_.encoding == TextEncoding::Utf16BE;
  return utf16 ? 2 : 1;
}

unsigned TextStart::UnitAt(std::size_t at) const {
  const char* const p = pending_.data() + at;
  switch (mark_.encoding) {
    case TextEncoding::Utf16LE:
      return Utf16Units<false>::At(p);
    case TextEncoding::Utf16BE:
      return Utf16Units<true>::At(p);
    default:
      return ByteUnits::At(p);
  }
}

bool TextStart::ReadFirstLine() {
  const std::size_t from = next_;
  const std::size_t k = UnitSize();
  std::size_t at = from;
  std::size_t lineEnd = 0;  // the line end's size in bytes, once found
  for (;;) {
    for (; at + k <= pending_.size(); at += k) {
      const unsigned unit = UnitAt(at);
      if (unit == '\r' && at + 2 * k > pending_.size() && !ended_) break;  // LF may come next
      if (unit == '\r')
        lineEnd = at + 2 * k <= pending_.size() && UnitAt(at + k) == '\n' ? 2 * k : k;
      if (unit == '\n' || unit == 0) lineEnd = k;
      if (lineEnd != 0) break;
    }
    if (lineEnd != 0 || ended_) break;
    if (!Fill(readSize_)) return false;
  }
  const bool nul = lineEnd != 0 && UnitAt(at) == 0;
  // The units before a NUL still form a line; an empty text has none.
  hasFirstLine_ = at > from || (lineEnd != 0 && !nul);
  firstLine_.assign(pending_.data() + from, pending_.data() + at);
  next_ = at + lineEnd;  // half a unit at the end stays, for the sort to refuse
  if (nul) {
    // Nothing after a NUL is read; whether anything followed it decides the report.
    char probe;
    nulEnded_ = pending_.size() > at + k || (!ended_ && input_.Read(&probe, 1) > 0);
    ended_ = true;
    next_ = pending_.size();
  }
  return true;
}

std::ptrdiff_t TextStart::Read(char* buffer, std::size_t size) {
  if (next_ < pending_.size()) {
    const std::size_t count = std::min(size, pending_.size() - next_);
    std::memcpy(buffer, pending_.data() + next_, count);
    next_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }
  return ended_ ? 0 : input_.Read(buffer, size);
}

}  // namespace sipo
