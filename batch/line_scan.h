// line_scan.h - the file run's line loop. A block is classified in 64-byte strides into two bit
// masks, its line ends and its field marks (the delimiter, or the quote), by the kernels chosen
// for the processor (scan_kernels.h); each line's number field is then found from the masks with
// a few bit operations and judged by the run's rule (line_judge.h), the verdicts of a stretch of
// lines first and then the lines handed to the sink in order. The classification reads each byte
// once (a delimiter of several bytes, once for each of them); the judge reads a line's number
// field again, and one 64-bit load of the marks from the line's start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "batch/block_reader.h"
#include "batch/line_judge.h"
#include "batch/line_rule.h"
#include "batch/line_stream.h"
#include "batch/scan_kernels.h"
#include "batch/text_mark.h"
#include "batch/text_units.h"
#include "files/input_file.h"

namespace sipo {

ScanRule MakeScanRule(const LineRule& rule, TextEncoding encoding);

namespace scan_detail {

// The words of the line-end mask listed at a time.
inline constexpr std::size_t kListWords = 64;

struct Judged {
  std::size_t begin;
  std::size_t end;
  bool good;
  bool crlf;
};

}  // namespace scan_detail

// The line loop's memory: the block, its masks and the list of line ends. A run makes its own; a
// caller that runs the loop many times over small inputs may keep one and pass it to each run,
// which then grows it only as needed and neither makes nor clears it anew. What one run leaves
// in it is never read by the next.
struct ScanBuffers {
  std::vector<char> block;
  std::vector<std::uint64_t> ends, marks;
  std::vector<std::uint32_t> listed;
  std::vector<scan_detail::Judged> judged;
};

// A sink takes the lines of a stretch through a taker, a small value the loop keeps in its own
// variables (the sorter's holds its outputs' write positions there): sink.Take(bytes, lines)
// gives one for at most that many lines, all ending within that many bytes of the block, and
// sink.Give(taker, lines) takes it back with the number of lines it was handed. A sink without
// them is handed each line through its own Line.
template <class Sink>
struct EachLine {
  Sink& sink;
  void Line(const char* begin, const char* end, bool good, bool crlfFollows) {
    sink.Line(begin, end, good, crlfFollows);
  }
};

template <class Sink>
auto TakeLines(Sink& sink, std::size_t bytes, std::size_t lines) {
  if constexpr (requires { sink.Take(bytes, lines); }) {
    return sink.Take(bytes, lines);
  } else {
    return EachLine<Sink>{sink};
  }
}

template <class Sink, class Taker>
void GiveLines(Sink& sink, const Taker& taker, std::size_t lines) {
  if constexpr (requires { sink.Give(taker, lines); }) sink.Give(taker, lines);
}

template <class Sink>
void HandLine(Sink& sink, const char* begin, const char* end, bool good, bool crlfFollows) {
  auto taker = TakeLines(sink, 0, 1);
  taker.Line(begin, end, good, crlfFollows);
  GiveLines(sink, taker, 1);
}

namespace scan_detail {

// The line loop's work on a block, apart from reading it: the masks, the line ends listed from
// them, and each line's verdict in the layout's own loop. Its buffers are kept for the run, or
// longer by the caller.
template <class Units, bool kVector, LineLayout kLayout>
class LineScanner {
 public:
  LineScanner(const ScanRule& rule, const ScanKernels& kernels, ScanBuffers& buffers)
      : rule_(rule),
        classify_(kernels.classifierFor(rule)),
        listBits_(kernels.listBits),
        ends_(buffers.ends),
        marks_(buffers.marks),
        listed_(buffers.listed),
        judged_(buffers.judged) {
    if (listed_.size() < kListWords * 64 + 8) listed_.resize(kListWords * 64 + 8);
    if (judged_.size() < kListWords * 64) judged_.resize(kListWords * 64);
  }

  // Makes room for the masks of a block of size bytes (whole units); the words past them stay
  // clear.
  void Prepare(std::size_t size) {
    const std::size_t words = (size + 63) / 64;
    if (ends_.size() < words + 2) {
      ends_.resize(words + 2);
      marks_.resize(words + 2);
    }
    ends_[words] = marks_[words] = ends_[words + 1] = marks_[words + 1] = 0;
  }

  // Classifies the words [from, from + kListWords) of the units [0, size), while the stretch
  // the lines are read from next is still in the nearest cache.
  void Classify(const char* base, std::size_t size, std::size_t from) {
    constexpr std::size_t k = Units::kSize;
    const std::size_t at = from << 6;
    if (at >= size) return;
    const std::size_t stretch = kListWords << 6;
    const bool crBefore = at > 0 && Units::At(base + at - k) == '\r';
    classify_(rule_, base + at, size - at < stretch ? size - at : stretch, crBefore,
              ends_.data() + from, marks_.data() + from);
  }

  // The verdict on the last line of the input, [0, size), classified whole.
  bool LastLineGood(const char* base, std::size_t size) {
    Prepare(size);
    for (std::size_t from = 0; from << 6 < size; from += kListWords) Classify(base, size, from);
    return Good(base, 0, size);
  }

  bool Good(const char* base, std::size_t begin, std::size_t end) const {
    return LineGoodFast<Units, kVector, kLayout>(rule_, base, marks_.data(), begin, end);
  }

  // Judges the lines that end in the words [from, to) of the units [0, units), the first
  // starting at line, which moves past each, and hands each to the sink as it is judged: the
  // lines depend on each other only through where they start, so that their verdicts overlap.
  // Stops at a NUL, whose offset it returns (SIZE_MAX for none), and at a CR that ends the units
  // (its LF, if any, opens the next block).
  // Not inlined into the block loop: the lines' loop then has the registers to itself.
  template <class Sink>
  [[gnu::noinline]] std::size_t Judge(const char* base, std::size_t units, std::size_t from,
                                      std::size_t to, std::size_t& line, Sink& sink) {
    constexpr std::size_t k = Units::kSize;
    // The loop's own copies, which nothing else can reach: they stay in registers.
    const ScanRule rule = rule_;
    const std::uint64_t* const marks = marks_.data();
    const std::uint32_t* const listed = listed_.data();
    const std::size_t found = listBits_(ends_.data(), from, to, listed_.data());
    const std::size_t offset = from << 6;
    std::size_t at = line;
    // Only the first end can lie before the first line: an LF that opened the block after its CR.
    const std::size_t first = found > 0 && offset + listed[0] < at ? 1 : 0;
    std::size_t i = first;
    std::size_t count = 0;
    Judged* const judged = judged_.data();
    for (; i < found; ++i) {
      const std::size_t q = offset + listed[i];
      const unsigned unit = Units::At(base + q);
      if (unit == 0) [[unlikely]]
        break;
      Judged& next = judged[count++];
      next.begin = at;
      next.end = q;
      next.good = LineGoodFast<Units, kVector, kLayout>(rule, base, marks, at, q);
      // CR LF, as a Windows text ends its lines, takes the straight path.
      bool crlf = false;
      if (unit == '\r') [[likely]]
        crlf = q + k < units && Units::At(base + q + k) == '\n';
      at = q + (crlf ? 2 * k : k);
      next.crlf = crlf;
    }
    auto taker = TakeLines(sink, (to - from) << 6, found);
    for (std::size_t j = 0; j < count; ++j) {
      const Judged& line = judged[j];
      taker.Line(base + line.begin, base + line.end, line.good, line.crlf);
    }
    GiveLines(sink, taker, count);
    lines_ += count;
    line = at;
    return i < found ? offset + listed[i] : SIZE_MAX;
  }

  // Lines ended so far.
  std::uint64_t Lines() const { return lines_; }

 private:
  const ScanRule rule_;
  const ClassifyFunction classify_;
  const ListBitsFunction listBits_;
  std::vector<std::uint64_t>& ends_;
  std::vector<std::uint64_t>& marks_;
  std::vector<std::uint32_t>& listed_;
  std::vector<Judged>& judged_;
  std::uint64_t lines_ = 0;
};

}  // namespace scan_detail

// Hands each line of the stream to the sink (see TakeLines) with its verdict and whether its
// CR LF follows it, in the same lines and with the same line-end rules as ForEachStreamedLineIn
// (CR LF, a lone CR or a lone LF ends a line; a NUL ends the text), and calls sink.Pause() before
// the block the lines point into is reused: a line's bytes, the kScanSlack bytes from its start and
// its CR LF when it is said to follow stay valid until then. Memory is one block and its two masks,
// more only for a line longer than a block. When a NUL ended the text and more of the input
// followed it, nulLine (if given) is set to the NUL's line, counted from 1.
template <class Units, bool kVector, LineLayout kLayout, class Sink>
StreamEnd ScanStreamedLinesBy(ByteSource& source, std::size_t blockSize, const ScanRule& rule,
                              const ScanKernels& kernels, Sink& sink, ScanBuffers& buffers,
                              std::uint64_t* nulLine) {
  using scan_detail::kListWords;
  BlockReader<Units> reader(source, blockSize, kScanSlack, buffers.block);
  scan_detail::LineScanner<Units, kVector, kLayout> scanner(rule, kernels, buffers);
  for (;;) {
    const BlockRead read = reader.Next();
    if (read == BlockRead::Failed) return StreamEnd::ReadFailed;
    if (read == BlockRead::OddLength) return StreamEnd::OddLength;
    const char* const base = reader.Data();
    if (read == BlockRead::End) {
      const std::size_t size = reader.Size();
      if (size > 0) HandLine(sink, base, base + size, scanner.LastLineGood(base, size), false);
      sink.Pause();
      return StreamEnd::Complete;
    }
    const std::size_t units = reader.UnitBytes();
    std::size_t line = reader.First();
    scanner.Prepare(units);
    scanner.Classify(base, units, 0);
    const std::size_t words = (units + 63) / 64;
    // For each stretch: classify the next (a line's window of marks reaches into it), then list
    // the line ends and judge and hand out the lines in order.
    for (std::size_t from = 0; from < words; from += kListWords) {
      const std::size_t to = from + kListWords < words ? from + kListWords : words;
      scanner.Classify(base, units, to);
      const std::size_t nul = scanner.Judge(base, units, from, to, line, sink);
      if (nul != SIZE_MAX) {
        // The units before a NUL on its line still form a line; nothing after it is read.
        if (nulLine != nullptr && reader.MoreAfter(nul)) *nulLine = scanner.Lines() + 1;
        if (nul > line)
          HandLine(sink, base + line, base + nul, scanner.Good(base, line, nul), false);
        sink.Pause();
        return StreamEnd::Complete;
      }
    }
    sink.Pause();
    reader.Carry(line);
  }
}

template <class Units, bool kVector, class Sink>
StreamEnd ScanStreamedLinesIn(ByteSource& source, std::size_t blockSize, const ScanRule& rule,
                              const ScanKernels& kernels, Sink& sink, ScanBuffers& buffers,
                              std::uint64_t* nulLine) {
  switch (LayoutOf(rule)) {
    case LineLayout::Whole:
      return ScanStreamedLinesBy<Units, kVector, LineLayout::Whole>(
          source, blockSize, rule, kernels, sink, buffers, nulLine);
    case LineLayout::Field:
      return ScanStreamedLinesBy<Units, kVector, LineLayout::Field>(
          source, blockSize, rule, kernels, sink, buffers, nulLine);
    case LineLayout::Quoted:
      break;
  }
  return ScanStreamedLinesBy<Units, kVector, LineLayout::Quoted>(source, blockSize, rule, kernels,
                                                                 sink, buffers, nulLine);
}

// The same, in buffers the caller keeps between runs.
template <class Units, class Sink>
StreamEnd ScanStreamedLines(ByteSource& source, std::size_t blockSize, const ScanRule& rule,
                            const ScanKernels& kernels, Sink& sink, ScanBuffers& buffers,
                            std::uint64_t* nulLine = nullptr) {
  if (kernels.vectorDigits) {
    return ScanStreamedLinesIn<Units, true>(source, blockSize, rule, kernels, sink, buffers,
                                            nulLine);
  }
  return ScanStreamedLinesIn<Units, false>(source, blockSize, rule, kernels, sink, buffers,
                                           nulLine);
}

template <class Units, class Sink>
StreamEnd ScanStreamedLines(ByteSource& source, std::size_t blockSize, const ScanRule& rule,
                            const ScanKernels& kernels, Sink& sink,
                            std::uint64_t* nulLine = nullptr) {
  ScanBuffers buffers;
  return ScanStreamedLines<Units>(source, blockSize, rule, kernels, sink, buffers, nulLine);
}

}  // namespace sipo
