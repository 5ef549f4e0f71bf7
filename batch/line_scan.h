// line_scan.h - the file run's line loop. A block is classified in 64-byte strides into two bit
// masks, its line ends and its field marks (the delimiter, or the quote), by the kernels chosen
// for the processor (scan_kernels.h); each line's number field is then found from the masks with
// a few bit operations and judged by the run's rule (line_judge.h). The classification reads each
// byte once (a delimiter of several bytes, once for each of them); the judge reads a line's
// number field again, and a line's first 64 bits of marks.
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

// A line the scanner judged: its units [begin, end) in the block.
struct Judged {
  std::size_t begin;
  std::size_t end;
  bool good;
  bool crlf;  // the line's CR LF follows it in the block
};

}  // namespace scan_detail

// The line loop's memory: the block, its masks and the lists of line ends and verdicts. A run
// makes its own; a caller that runs the loop many times over small inputs may keep one and pass
// it to each run, which then grows it only as needed and neither makes nor clears it anew. What
// one run leaves in it is never read by the next.
struct ScanBuffers {
  std::vector<char> block;
  std::vector<std::uint64_t> ends, marks;
  std::vector<std::uint32_t> listed;
  std::vector<scan_detail::Judged> judged;
};

namespace scan_detail {

// The line loop's work on a block, apart from reading it: the masks, the line ends listed from
// them, and each line's verdict. Its buffers are kept for the run, or longer by the caller.
template <class Units, bool kVector>
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
    return LineGoodFast<Units, kVector>(rule_, base, marks_.data(), begin, end);
  }

  // Judges the lines that end in the words [from, to) of the units [0, units), the first
  // starting at line, which moves past each; the lines independent of each other, so that their
  // verdicts overlap. Stops at a NUL, whose offset it returns (SIZE_MAX for none), and at a CR
  // that ends the units (its LF, if any, opens the next block).
  std::size_t Judge(const char* base, std::size_t units, std::size_t from, std::size_t to,
                    std::size_t& line) {
    constexpr std::size_t k = Units::kSize;
    // The loop's own copy, which nothing else can reach: its fields stay in registers.
    const ScanRule rule = rule_;
    const std::uint64_t* const marks = marks_.data();
    const std::uint32_t* const listed = listed_.data();
    Judged* const judged = judged_.data();
    const std::size_t found = listBits_(ends_.data(), from, to, listed_.data());
    count_ = 0;
    for (std::size_t i = 0; i < found; ++i) {
      const std::size_t q = (from << 6) + listed[i];
      if (q < line) continue;  // an LF that opened the block after its CR
      const unsigned unit = Units::At(base + q);
      if (unit == 0) return q;
      ++lines_;
      Judged& next = judged[count_++];
      next.begin = line;
      next.end = q;
      next.good = LineGoodFast<Units, kVector>(rule, base, marks, line, q);
      next.crlf = unit == '\r' && q + k < units && Units::At(base + q + k) == '\n';
      line = q + (next.crlf ? 2 * k : k);
    }
    return SIZE_MAX;
  }

  // The lines the last Judge judged, in order.
  const Judged* begin() const { return judged_.data(); }
  const Judged* end() const { return judged_.data() + count_; }
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
  std::size_t count_ = 0;
  std::uint64_t lines_ = 0;
};

}  // namespace scan_detail

// Calls sink.Line(begin, end, good, crlfFollows) for each line of the stream, in the same lines
// and with the same line-end rules as ForEachStreamedLineIn (CR LF, a lone CR or a lone LF ends a
// line; a NUL ends the text), and sink.Pause() before the block the lines point into is reused:
// a line's bytes, the 64 bytes from its start and its CR LF when crlfFollows stay valid until
// then. Memory is one block and its two masks, more only for a line longer than a block. When a
// NUL ended the text and more of the input followed it, nulLine (if given) is set to the NUL's
// line, counted from 1.
template <class Units, bool kVector, class Sink>
StreamEnd ScanStreamedLinesBy(ByteSource& source, std::size_t blockSize, const ScanRule& rule,
                              const ScanKernels& kernels, Sink& sink, ScanBuffers& buffers,
                              std::uint64_t* nulLine) {
  using scan_detail::kListWords;
  BlockReader<Units> reader(source, blockSize, kScanSlack, buffers.block);
  scan_detail::LineScanner<Units, kVector> scanner(rule, kernels, buffers);
  for (;;) {
    const BlockRead read = reader.Next();
    if (read == BlockRead::Failed) return StreamEnd::ReadFailed;
    if (read == BlockRead::OddLength) return StreamEnd::OddLength;
    const char* const base = reader.Data();
    if (read == BlockRead::End) {
      const std::size_t size = reader.Size();
      if (size > 0) sink.Line(base, base + size, scanner.LastLineGood(base, size), false);
      sink.Pause();
      return StreamEnd::Complete;
    }
    const std::size_t units = reader.UnitBytes();
    std::size_t line = reader.First();
    scanner.Prepare(units);
    scanner.Classify(base, units, 0);
    const std::size_t words = (units + 63) / 64;
    // For each stretch: classify the next (a line's window of marks reaches into it), list the
    // line ends and judge the lines, then hand them out in order.
    for (std::size_t from = 0; from < words; from += kListWords) {
      const std::size_t to = from + kListWords < words ? from + kListWords : words;
      scanner.Classify(base, units, to);
      const std::size_t nul = scanner.Judge(base, units, from, to, line);
      for (const auto& judged : scanner) {
        sink.Line(base + judged.begin, base + judged.end, judged.good, judged.crlf);
      }
      if (nul != SIZE_MAX) {
        // The units before a NUL on its line still form a line; nothing after it is read.
        if (nulLine != nullptr && reader.MoreAfter(nul)) *nulLine = scanner.Lines() + 1;
        if (nul > line) sink.Line(base + line, base + nul, scanner.Good(base, line, nul), false);
        sink.Pause();
        return StreamEnd::Complete;
      }
    }
    sink.Pause();
    reader.Carry(line);
  }
}

// The same, in buffers the caller keeps between runs.
template <class Units, class Sink>
StreamEnd ScanStreamedLines(ByteSource& source, std::size_t blockSize, const ScanRule& rule,
                            const ScanKernels& kernels, Sink& sink, ScanBuffers& buffers,
                            std::uint64_t* nulLine = nullptr) {
  if (kernels.vectorDigits) {
    return ScanStreamedLinesBy<Units, true>(source, blockSize, rule, kernels, sink, buffers,
                                            nulLine);
  }
  return ScanStreamedLinesBy<Units, false>(source, blockSize, rule, kernels, sink, buffers,
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
