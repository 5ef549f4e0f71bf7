// line_stream.h - splits a stream into lines block by block, by the same rules as a line list:
// CR LF, a lone CR or a lone LF ends a line, and a NUL ends the text. The stream is read in
// units (text_units.h): bytes, or the 16-bit units of a UTF-16 text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "batch/text_units.h"
#include "files/input_file.h"

namespace sipo {

// OddLength: a text read in 16-bit units ended with half a unit.
enum class StreamEnd { Complete, ReadFailed, Interrupted, OddLength, Utf32Mark };

inline constexpr std::size_t kStreamBlockSize = std::size_t{256} << 10;
// Bytes after the block's data that may be read (not used): a line's bytes can then be moved in
// fixed-size pieces that run past its end.
inline constexpr std::size_t kStreamSlack = 64;

// Calls onLine(line, crlfFollows) for each line (its bytes), where crlfFollows says that the
// line's own CR LF follows it in the same block. A line stays valid only during its call: the
// block's memory is reused after it. Line ends, the NUL and the line's bytes are found in one
// pass while the block is in cache. Memory is one block, more only for a line longer than a block.
// When a NUL ended the text and more of the input followed it, nulLine (if given) is set to the
// NUL's line, counted from 1.
template <class Units, class OnLine>
StreamEnd ForEachStreamedLineIn(ByteSource& source, std::size_t blockSize, OnLine&& onLine,
                                std::uint64_t* nulLine = nullptr) {
  constexpr std::size_t k = Units::kSize;
  std::size_t capacity = blockSize;
  std::vector<char> buffer(capacity + kStreamSlack);
  std::size_t carried = 0;  // the start of an unfinished line, moved to the buffer's front
  bool skipLF = false;      // a CR ended the last block: an LF opening this one belongs to it
  std::uint64_t lines = 0;
  for (;;) {
    if (carried == capacity) {
      capacity *= 2;
      buffer.resize(capacity + kStreamSlack);
    }
    const std::ptrdiff_t count = source.Read(buffer.data() + carried, capacity - carried);
    if (count < 0) return StreamEnd::ReadFailed;
    const char* p = buffer.data();
    if (count == 0) {
      if (carried % k != 0) return StreamEnd::OddLength;
      if (carried > 0) onLine(std::string_view(p, carried), false);
      return StreamEnd::Complete;
    }
    const char* const end = p + carried + count;
    // Whole units only; half a unit waits for the next read.
    const char* const unitsEnd = end - static_cast<std::size_t>(end - p) % k;
    const char* scan = p + carried / k * k;  // the carried units hold no line end
    if (skipLF && scan < unitsEnd) {
      if (Units::At(scan) == '\n') p = scan += k;
      skipLF = false;
    }
    for (;;) {
      const char* q = Units::FindLineEndOrNul(scan, unitsEnd);
      if (q == unitsEnd) break;
      const unsigned unit = Units::At(q);
      if (unit == 0) {
        // The units before a NUL on its line still form a line; nothing after it is read.
        if (nulLine != nullptr) {
          char probe;
          if (q + k < end || source.Read(&probe, 1) > 0) *nulLine = lines + 1;
        }
        if (q > p) onLine(std::string_view(p, static_cast<std::size_t>(q - p)), false);
        return StreamEnd::Complete;
      }
      const std::string_view line(p, static_cast<std::size_t>(q - p));
      ++lines;
      if (unit == '\r' && q + k == unitsEnd) {
        onLine(line, false);
        skipLF = true;
        p = unitsEnd;
        break;
      }
      const bool crlf = unit == '\r' && Units::At(q + k) == '\n';
      onLine(line, crlf);
      p = scan = q + (crlf ? 2 * k : k);
    }
    carried = static_cast<std::size_t>(end - p);
    std::memmove(buffer.data(), p, carried);
  }
}

// A byte text.
template <class OnLine>
StreamEnd ForEachStreamedLine(ByteSource& source, std::size_t blockSize, OnLine&& onLine,
                              std::uint64_t* nulLine = nullptr) {
  return ForEachStreamedLineIn<ByteUnits>(source, blockSize, onLine, nulLine);
}

}  // namespace sipo
