// line_stream.h - splits a stream into lines block by block, by the same rules as a line list:
// CR LF, a lone CR or a lone LF ends a line, and a NUL ends the text. The stream is read in
// units (text_units.h): bytes, or the 16-bit units of a UTF-16 text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "batch/block_reader.h"
#include "batch/text_units.h"
#include "files/input_file.h"

namespace sipo {

// OddLength: a text read in 16-bit units ended with half a unit.
enum class StreamEnd { Complete, ReadFailed, Interrupted, OddLength, Utf32Mark };

inline constexpr std::size_t kStreamBlockSize = std::size_t{256} << 10;

// Calls onLine(line, crlfFollows) for each line (its bytes), where crlfFollows says that the
// line's own CR LF follows it in the same block. A line stays valid only during its call: the
// block's memory is reused after it. Line ends and the NUL are found in one pass while the block
// is in cache. Memory is one block, more only for a line longer than a block. When a NUL ended
// the text and more of the input followed it, nulLine (if given) is set to the NUL's line,
// counted from 1.
template <class Units, class OnLine>
StreamEnd ForEachStreamedLineIn(ByteSource& source, std::size_t blockSize, OnLine&& onLine,
                                std::uint64_t* nulLine = nullptr) {
  constexpr std::size_t k = Units::kSize;
  BlockReader<Units> reader(source, blockSize, 0);
  std::uint64_t lines = 0;
  for (;;) {
    const BlockRead read = reader.Next();
    if (read == BlockRead::Failed) return StreamEnd::ReadFailed;
    if (read == BlockRead::OddLength) return StreamEnd::OddLength;
    const char* const base = reader.Data();
    if (read == BlockRead::End) {
      if (reader.Size() > 0) onLine(std::string_view(base, reader.Size()), false);
      return StreamEnd::Complete;
    }
    const char* const unitsEnd = base + reader.UnitBytes();
    const char* p = base + reader.First();
    const char* scan = reader.First() > 0 ? p : base + reader.Carried() / k * k;
    for (;;) {
      const char* q = Units::FindLineEndOrNul(scan, unitsEnd);
      if (q == unitsEnd) break;
      const unsigned unit = Units::At(q);
      if (unit == 0) {
        // The units before a NUL on its line still form a line; nothing after it is read.
        const std::size_t at = static_cast<std::size_t>(q - base);
        if (nulLine != nullptr && reader.MoreAfter(at)) *nulLine = lines + 1;
        if (q > p) onLine(std::string_view(p, static_cast<std::size_t>(q - p)), false);
        return StreamEnd::Complete;
      }
      ++lines;
      // A CR at the units' end: its LF, if any, opens the next block.
      const bool crlf = unit == '\r' && q + k < unitsEnd && Units::At(q + k) == '\n';
      onLine(std::string_view(p, static_cast<std::size_t>(q - p)), crlf);
      p = scan = q + (crlf ? 2 * k : k);
    }
    reader.Carry(static_cast<std::size_t>(p - base));
  }
}

// A byte text.
template <class OnLine>
StreamEnd ForEachStreamedLine(ByteSource& source, std::size_t blockSize, OnLine&& onLine,
                              std::uint64_t* nulLine = nullptr) {
  return ForEachStreamedLineIn<ByteUnits>(source, blockSize, onLine, nulLine);
}

}  // namespace sipo
