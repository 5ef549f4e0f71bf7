// line_sorter.cpp - sorts the lines of a stream into a good and a bad output as they are read.
#include "batch/line_sorter.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "batch/column_presence.h"
#include "batch/line_scan.h"

namespace sipo {
namespace {

// Sixteen bytes at a time: a plain memcpy of this size can become a slow string move.
inline void CopyRoom(char* to, const char* from) {
#ifdef __SSE2__
  for (std::size_t i = 0; i < AtomicFileWriter::kRoom; i += 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
  }
#else
  std::memcpy(to, from, AtomicFileWriter::kRoom);
#endif
}

static_assert(AtomicFileWriter::kRoom <= kScanSlack);

// Appends the line and its line end (CR LF in the text's units) to the output. The output is
// chosen by index rather than by a branch and a short line is moved whole in a fixed-size copy:
// good and bad lines alternate at random, and a mispredicted branch per line would cost more than
// the copy. A longer line whose own CR LF follows it leaves the input with it in one piece.
template <class Units>
inline void Append(AtomicFileWriter& out, std::string_view line, bool crlfFollows) {
  constexpr std::string_view kEnd = Units::kLineEnd;
  if (line.size() > AtomicFileWriter::kRoom - kEnd.size()) {
    if (crlfFollows) return out.Write(std::string_view(line.data(), line.size() + kEnd.size()));
    out.Write(line);
    out.Write(kEnd);
    return;
  }
  char* to = out.Room();
  CopyRoom(to, line.data());
  std::memcpy(to + line.size(), kEnd.data(), kEnd.size());
  out.Advance(line.size() + kEnd.size());
}

// Takes the scanned lines to their outputs, each line followed by CR LF, and counts them. The
// counts reach the monitor's view at each pause, before the next read.
template <class Units>
class LineWriter {
 public:
  LineWriter(AtomicFileWriter* const outputs[2], SortResult& counts, const LineRule& rule,
             TextEncoding encoding)
      : outputs_(outputs),
        counts_(counts),
        lines_(counts.lines),
        good_(counts.good),
        rule_(rule),
        delimiter_(DelimiterIn(encoding, rule.delimiter)),
        columnSeen_(rule.singleColumn) {}
  void Line(const char* begin, const char* end, bool good, bool crlfFollows) {
    ++lines_;
    good_ += good;
    const std::string_view line(begin, static_cast<std::size_t>(end - begin));
    // Looked for only until a line has the column, which a good line has: one predictable branch
    // a line after that.
    if (!columnSeen_) columnSeen_ = good || LineHasColumn<Units>(line, rule_, delimiter_);
    Append<Units>(*outputs_[good], line, crlfFollows);
  }
  bool ColumnSeen() const { return columnSeen_; }
  void Pause() {
    counts_.lines = lines_;
    counts_.good = good_;
  }

 private:
  AtomicFileWriter* const* outputs_;
  SortResult& counts_;
  std::uint64_t lines_;
  std::uint64_t good_;
  const LineRule& rule_;
  TextDelimiter delimiter_;
  bool columnSeen_;
};

template <class Units>
StreamEnd SortText(ByteSource& text, TextEncoding encoding, const LineRule& rule,
                   AtomicFileWriter* const outputs[2], SortResult& sorted, std::size_t blockSize) {
  LineWriter<Units> writer(outputs, sorted, rule, encoding);
  const StreamEnd end = ScanStreamedLines<Units>(text, blockSize, MakeScanRule(rule, encoding),
                                                 RunScanKernels(), writer, &sorted.nulLine);
  if (sorted.lines > 0 && !writer.ColumnSeen()) sorted.missingColumn = rule.column;
  return end;
}

}  // namespace

StreamEnd WriteSortedLines(ByteSource& text, TextEncoding encoding, const LineRule& rule,
                           AtomicFileWriter& bad, AtomicFileWriter& ok, SortResult& sorted,
                           std::size_t blockSize) {
  AtomicFileWriter* const outputs[] = {&bad, &ok};
  switch (encoding) {
    case TextEncoding::Bytes:
    case TextEncoding::Utf8:
      return SortText<ByteUnits>(text, encoding, rule, outputs, sorted, blockSize);
    case TextEncoding::Utf16LE:
      return SortText<Utf16Units<false>>(text, encoding, rule, outputs, sorted, blockSize);
    case TextEncoding::Utf16BE:
      return SortText<Utf16Units<true>>(text, encoding, rule, outputs, sorted, blockSize);
    case TextEncoding::Utf32:
      break;
  }
  return StreamEnd::Utf32Mark;
}

}  // namespace sipo
