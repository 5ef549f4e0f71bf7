// line_stream.h - splits a stream of bytes into lines block by block, by the same rules as a
// line list: CR LF, a lone CR or a lone LF ends a line, and a NUL ends the text.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

#include "files/byte_scan.h"
#include "files/input_file.h"
#include "files/temporary_files.h"

namespace sipo {

enum class StreamEnd { Complete, ReadFailed, Interrupted };

inline constexpr std::size_t kStreamBlockSize = std::size_t{256} << 10;
// Bytes after the block's data that may be read (not used): a line's bytes can then be moved in
// fixed-size pieces that run past its end.
inline constexpr std::size_t kStreamSlack = 64;

// Calls onLine(line, crlfFollows) for each line, where crlfFollows says that the line's own CR LF
// follows it in the same block. A line stays valid only during its call: the block's memory is
// reused after it. Line ends, the NUL and the line's bytes are found in one pass while the block
// is in cache. Memory is one block, more only for a line longer than a block.
template <class OnLine>
StreamEnd ForEachStreamedLine(ByteSource& source, std::size_t blockSize, OnLine&& onLine) {
  std::size_t capacity = blockSize;
  std::vector<char> buffer(capacity + kStreamSlack);
  std::size_t carried = 0;  // the start of an unfinished line, moved to the buffer's front
  bool skipLF = false;      // a CR ended the last block: an LF opening this one belongs to it
  for (;;) {
    if (InterruptRequested()) return StreamEnd::Interrupted;
    if (carried == capacity) {
      capacity *= 2;
      buffer.resize(capacity + kStreamSlack);
    }
    const std::ptrdiff_t count = source.Read(buffer.data() + carried, capacity - carried);
    if (count < 0) return StreamEnd::ReadFailed;
    const char* p = buffer.data();
    if (count == 0) {
      if (carried > 0) onLine(std::string_view(p, carried), false);
      return StreamEnd::Complete;
    }
    const char* const end = p + carried + count;
    const char* scan = p + carried;  // the carried bytes hold no line end
    if (skipLF && *scan == '\n') p = ++scan;
    skipLF = false;
    for (;;) {
      const char* q = FindLineEndOrNul(scan, end);
      if (q == end) break;
      if (*q == '\0') {
        // The bytes before a NUL on its line still form a line; nothing after it is read.
        if (q > p) onLine(std::string_view(p, static_cast<std::size_t>(q - p)), false);
        return StreamEnd::Complete;
      }
      const std::string_view line(p, static_cast<std::size_t>(q - p));
      if (*q == '\r' && q + 1 == end) {
        onLine(line, false);
        skipLF = true;
        p = end;
        break;
      }
      const bool crlf = *q == '\r' && q[1] == '\n';
      onLine(line, crlf);
      p = scan = q + (crlf ? 2 : 1);
    }
    carried = static_cast<std::size_t>(end - p);
    std::memmove(buffer.data(), p, carried);
  }
}

}  // namespace sipo
