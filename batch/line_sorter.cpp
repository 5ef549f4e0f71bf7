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

// A short line is moved in one fixed-size copy of kRoom bytes, whatever its length: lines of
// every length come in no order a branch could predict. The copy may write past the line's end,
// into room the writer's reservation holds; what a line after it writes there replaces it.
// 64 bytes for a text in bytes, 128 for UTF-16, whose lines take twice the bytes.
template <class Units>
constexpr std::size_t kRoom = 64 * Units::kSize;
// The copy reads at most the block's slack past a line's start.
static_assert(kRoom<Utf16Units<false>> <= kScanSlack);

// Sixteen bytes at a time: a plain memcpy of this size can become a slow string move.
template <class Units>
inline void CopyRoom(char* to, const char* from) {
#ifdef __SSE2__
  for (std::size_t i = 0; i < kRoom<Units>; i += 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
  }
#else
  std::memcpy(to, from, kRoom<Units>);
#endif
}

// A stretch's room (LineWriter::Take) is at most three bytes for each of its bytes (a line of
// one unit gains a line end of two) and the two copies' reach.
static_assert(3 * (scan_detail::kListWords << 6) + 2 * kRoom<Utf16Units<false>> <=
              AtomicFileWriter::kMaxReserve);

template <class Units>
class LineWriter;

// A line too long for one copy, written through its output's writer, whose write position
// (at) it takes and gives back: a line whose own CR LF follows it leaves the input with it in one
// piece. Not inlined: the lines' loop keeps its write positions in registers only while no call
// can reach them.
template <class Units>
[[gnu::noinline]] char* WriteLongLine(AtomicFileWriter& out, char* at, std::size_t room,
                                      std::string_view line, bool crlfFollows) {
  constexpr std::string_view kEnd = Units::kLineEnd;
  out.Filled(at);
  if (crlfFollows) {
    out.Write(std::string_view(line.data(), line.size() + kEnd.size()));
  } else {
    out.Write(line);
    out.Write(kEnd);
  }
  return out.Reserve(room);
}

// The lines of a stretch on their way to the outputs: the write positions in both outputs'
// buffers and the count of good lines, held in the loop's own variables (a store of a line's
// bytes could otherwise be taken to change them, and they would be reloaded after each). Each
// line goes, with CR LF in the text's units, to the output its verdict picks; the output is picked
// by a select rather than a branch, for good and bad lines alternate at random.
template <class Units>
class StretchLines {
 public:
  static constexpr std::string_view kEnd = Units::kLineEnd;

  StretchLines(LineWriter<Units>& writer, std::size_t room, char* bad, char* ok, bool columnSeen)
      : writer_(&writer), room_(room), bad_(bad), ok_(ok), columnSeen_(columnSeen) {}

  void Line(const char* begin, const char* end, bool good, bool crlfFollows) {
    const auto length = static_cast<std::size_t>(end - begin);
    good_ += good;
    // Looked for only until a line has the column, which a good line has: one predictable
    // branch a line after that.
    if (!columnSeen_) columnSeen_ = writer_->SeeColumn(good, std::string_view(begin, length));
    if (length > kRoom<Units> - kEnd.size())
      return Long(std::string_view(begin, length), good, crlfFollows);
    // Arithmetic on the addresses: a compiler turns a plain select into a branch.
    const std::uintptr_t pick = 0 - std::uintptr_t{good};
    const auto okAt = reinterpret_cast<std::uintptr_t>(ok_);
    const auto badAt = reinterpret_cast<std::uintptr_t>(bad_);
    char* const to = reinterpret_cast<char*>(badAt ^ ((okAt ^ badAt) & pick));
    CopyRoom<Units>(to, begin);
    std::memcpy(to + length, kEnd.data(), kEnd.size());
    const std::size_t step = length + kEnd.size();
    ok_ += step & pick;
    bad_ += step & ~pick;
  }

 private:
  friend class LineWriter<Units>;

  void Long(std::string_view line, bool good, bool crlfFollows) {
    AtomicFileWriter& out = writer_->Output(good);
    if (good) {
      ok_ = WriteLongLine<Units>(out, ok_, room_, line, crlfFollows);
    } else {
      bad_ = WriteLongLine<Units>(out, bad_, room_, line, crlfFollows);
    }
  }

  LineWriter<Units>* writer_;
  std::size_t room_;
  char* bad_;
  char* ok_;
  std::uint64_t good_ = 0;
  bool columnSeen_;
};

// Takes the scanned lines to their outputs and counts them. The counts reach the monitor's view
// at each pause, before the next read.
template <class Units>
class LineWriter {
 public:
  LineWriter(AtomicFileWriter& bad, AtomicFileWriter& ok, SortResult& counts, const LineRule& rule,
             TextEncoding encoding)
      : bad_(bad),
        ok_(ok),
        counts_(counts),
        rule_(rule),
        delimiter_(DelimiterIn(encoding, rule.delimiter)),
        columnSeen_(rule.singleColumn) {}

  // Room for lines that end within bytes of the block, at most lines of them, each moved in a
  // copy of kRoom: the first may start up to kRoom before those bytes, and the last copy may
  // reach kRoom past its line.
  StretchLines<Units> Take(std::size_t bytes, std::size_t lines) {
    const std::size_t room = bytes + 2 * kRoom<Units> + lines * StretchLines<Units>::kEnd.size();
    return StretchLines<Units>(*this, room, bad_.Reserve(room), ok_.Reserve(room), columnSeen_);
  }
  void Give(const StretchLines<Units>& taken, std::size_t lines) {
    bad_.Filled(taken.bad_);
    ok_.Filled(taken.ok_);
    lines_ += lines;
    good_ += taken.good_;
  }
  void Pause() {
    counts_.lines = lines_;
    counts_.good = good_;
  }

  bool ColumnSeen() const { return columnSeen_; }
  [[gnu::noinline]] bool SeeColumn(bool good, std::string_view line) {
    columnSeen_ = good || LineHasColumn<Units>(line, rule_, delimiter_);
    return columnSeen_;
  }
  AtomicFileWriter& Output(bool good) { return good ? ok_ : bad_; }

 private:
  AtomicFileWriter& bad_;
  AtomicFileWriter& ok_;
  SortResult& counts_;
  std::uint64_t lines_ = 0;
  std::uint64_t good_ = 0;
  const LineRule& rule_;
  TextDelimiter delimiter_;
  bool columnSeen_;
};

template <class Units>
StreamEnd SortText(ByteSource& text, TextEncoding encoding, const LineRule& rule,
                   AtomicFileWriter& bad, AtomicFileWriter& ok, SortResult& sorted,
                   std::size_t blockSize) {
  LineWriter<Units> writer(bad, ok, sorted, rule, encoding);
  const StreamEnd end = ScanStreamedLines<Units>(text, blockSize, MakeScanRule(rule, encoding),
                                                 RunScanKernels(), writer, &sorted.nulLine);
  if (sorted.lines > 0 && !writer.ColumnSeen()) sorted.missingColumn = rule.column;
  return end;
}

}  // namespace

StreamEnd WriteSortedLines(ByteSource& text, TextEncoding encoding, const LineRule& rule,
                           AtomicFileWriter& bad, AtomicFileWriter& ok, SortResult& sorted,
                           std::size_t blockSize) {
  switch (encoding) {
    case TextEncoding::Bytes:
    case TextEncoding::Utf8:
      return SortText<ByteUnits>(text, encoding, rule, bad, ok, sorted, blockSize);
    case TextEncoding::Utf16LE:
      return SortText<Utf16Units<false>>(text, encoding, rule, bad, ok, sorted, blockSize);
    case TextEncoding::Utf16BE:
      return SortText<Utf16Units<true>>(text, encoding, rule, bad, ok, sorted, blockSize);
    case TextEncoding::Utf32:
      break;
  }
  return StreamEnd::Utf32Mark;
}

}  // namespace sipo
