// header_line.cpp - an input's first line taken apart before its lines are sorted.
#include "batch/header_line.h"

#include <algorithm>
#include <cstring>

#include "batch/text_units.h"

namespace sipo {
namespace {

constexpr std::size_t kReadSize = std::size_t{64} << 10;

}  // namespace

// Appends one read to what was read so far; false when it failed.
bool HeaderSource::Fill() {
  const std::size_t have = start_.size();
  start_.resize(have + kReadSize);
  const std::ptrdiff_t count = input_.Read(start_.data() + have, kReadSize);
  start_.resize(have + static_cast<std::size_t>(std::max<std::ptrdiff_t>(count, 0)));
  if (count == 0) ended_ = true;
  return count >= 0;
}

std::size_t HeaderSource::UnitSize() const {
  const bool utf16 =
      mark_.encoding == TextEncoding::Utf16LE || mark_.encoding == TextEncoding::Utf16BE;
  return utf16 ? 2 : 1;
}

unsigned HeaderSource::UnitAt(std::size_t at) const {
  return sipo::UnitAt(start_.data() + at, UnitSize(), mark_.encoding == TextEncoding::Utf16BE);
}

bool HeaderSource::ReadHeader() {
  while (start_.size() < kMarkDecidingSize && !ended_) {
    if (!Fill()) return false;
  }
  mark_ = MarkOf(std::string_view(start_.data(), start_.size()));
  // A mark that the sort refuses is left to it, with the whole input behind it.
  if (mark_.encoding == TextEncoding::Utf32) {
    pending_.swap(start_);
    return true;
  }
  const std::size_t from = mark_.bytes.size();
  const std::size_t k = UnitSize();
  std::size_t at = from;
  std::size_t lineEnd = 0;  // the line end's size in bytes, once found
  while (lineEnd == 0) {
    for (; at + k <= start_.size(); at += k) {
      const unsigned unit = UnitAt(at);
      if (unit == '\r' && at + 2 * k > start_.size() && !ended_) break;  // LF may come next
      if (unit == '\r') lineEnd = at + 2 * k <= start_.size() && UnitAt(at + k) == '\n' ? 2 * k : k;
      if (unit == '\n' || unit == 0) lineEnd = k;
      if (lineEnd != 0) break;
    }
    if (lineEnd != 0 || ended_) break;
    if (!Fill()) return false;
  }
  header_.assign(start_.data() + from, at - from);
  std::size_t rest = lineEnd != 0 ? at + lineEnd : at;  // half a unit at the end stays
  if (lineEnd != 0 && UnitAt(at) == 0) {
    // Nothing after a NUL is read; whether anything followed it decides the report.
    char probe;
    nulEnded_ = start_.size() > at + k || (!ended_ && input_.Read(&probe, 1) > 0);
    ended_ = true;
    rest = start_.size();
  }
  removed_ = static_cast<std::int64_t>(rest - from);
  pending_.assign(start_.data(), start_.data() + from);
  pending_.insert(pending_.end(), start_.data() + rest, start_.data() + start_.size());
  start_ = {};
  return true;
}

std::string HeaderSource::OutputStart() const {
  std::string start(mark_.bytes);
  start += header_;
  if (UnitSize() == 1) return start.append(ByteUnits::kLineEnd);
  return start.append(mark_.encoding == TextEncoding::Utf16BE ? Utf16Units<true>::kLineEnd
                                                              : Utf16Units<false>::kLineEnd);
}

std::ptrdiff_t HeaderSource::Read(char* buffer, std::size_t size) {
  if (next_ < pending_.size()) {
    const std::size_t count = std::min(size, pending_.size() - next_);
    std::memcpy(buffer, pending_.data() + next_, count);
    next_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }
  // A terminal's end of input is not asked for twice.
  return ended_ ? 0 : input_.Read(buffer, size);
}

std::int64_t HeaderSource::Size() const {
  const std::int64_t size = input_.Size();
  return size < 0 ? size : size - removed_;
}

}  // namespace sipo
