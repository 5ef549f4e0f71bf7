// line_sorter.cpp - sorts the lines of a stream into a good and a bad output as they are read.
#include "batch/line_sorter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "batch/line_list.h"
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

// The input as the monitor sees it: each read is reported with the counts so far, and a stop
// request ends the input there.
class MonitoredSource : public ByteSource {
 public:
  MonitoredSource(ByteSource& input, RunMonitor& monitor, const std::uint64_t& lines,
                  const std::uint64_t& good, std::int64_t size)
      : input_(input), monitor_(monitor), lines_(lines), good_(good) {
    progress_.inputSize = size;
  }
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    if (Stopped()) return 0;
    monitor_.ReadStarting(Counted());
    const std::ptrdiff_t count = input_.Read(buffer, size);
    if (count > 0) progress_.bytesRead += static_cast<std::uint64_t>(count);
    monitor_.Progress(Counted());
    return Stopped() ? 0 : count;
  }
  void Close() override { input_.Close(); }
  bool Stopped() {
    stopped_ = stopped_ || monitor_.StopRequested();
    return stopped_;
  }
  // The last word before the outputs are replaced.
  bool MayCommit() {
    stopped_ = stopped_ || !monitor_.CommitStarting();
    return !stopped_;
  }

 private:
  const RunProgress& Counted() {
    progress_.lines = lines_;
    progress_.good = good_;
    return progress_;
  }

  ByteSource& input_;
  RunMonitor& monitor_;
  const std::uint64_t& lines_;
  const std::uint64_t& good_;
  RunProgress progress_;
  bool stopped_ = false;
};

// Nothing to tell and nobody to stop the run.
class Unmonitored : public RunMonitor {
 public:
  void Progress(const RunProgress&) override {}
  bool StopRequested() override { return false; }
};

// The input after its mark: the first block, read to find the mark, is handed out first.
class AfterMark : public ByteSource {
 public:
  explicit AfterMark(ByteSource& input) : input_(input) {}
  // Reads until the mark is decided (a pipe may give a few bytes at a time); false when a read
  // fails.
  bool ReadMark(std::size_t blockSize) {
    start_.resize(blockSize < kMarkDecidingSize ? kMarkDecidingSize : blockSize);
    std::size_t have = 0;
    while (have < kMarkDecidingSize) {
      const std::ptrdiff_t count = input_.Read(start_.data() + have, start_.size() - have);
      if (count < 0) return false;
      if (count == 0) {
        ended_ = true;
        break;
      }
      have += static_cast<std::size_t>(count);
    }
    start_.resize(have);
    mark_ = MarkOf(std::string_view(start_.data(), have));
    next_ = mark_.bytes.size();
    return true;
  }
  const TextMark& Mark() const { return mark_; }
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    if (next_ < start_.size()) {
      const std::size_t count = std::min(size, start_.size() - next_);
      std::memcpy(buffer, start_.data() + next_, count);
      next_ += count;
      return static_cast<std::ptrdiff_t>(count);
    }
    // A terminal's end of input is not asked for twice.
    return ended_ ? 0 : input_.Read(buffer, size);
  }

 private:
  ByteSource& input_;
  std::vector<char> start_;
  std::size_t next_ = 0;
  bool ended_ = false;
  TextMark mark_;
};

struct Counts {
  std::uint64_t lines = 0;
  std::uint64_t good = 0;
  std::uint64_t nulLine = 0;
};

// Takes the scanned lines to their outputs, each line followed by CR LF, and counts them. The
// counts reach the monitor's view at each pause, before the next read.
template <class Units>
class LineWriter {
 public:
  LineWriter(AtomicFileWriter* const outputs[2], Counts& counts)
      : outputs_(outputs), counts_(counts), lines_(counts.lines), good_(counts.good) {}
  void Line(const char* begin, const char* end, bool good, bool crlfFollows) {
    ++lines_;
    good_ += good;
    Append<Units>(*outputs_[good], std::string_view(begin, static_cast<std::size_t>(end - begin)),
                  crlfFollows);
  }
  void Pause() {
    counts_.lines = lines_;
    counts_.good = good_;
  }

 private:
  AtomicFileWriter* const* outputs_;
  Counts& counts_;
  std::uint64_t lines_;
  std::uint64_t good_;
};

// Both outputs begin with the input's mark; the lines follow in the input's units.
template <class Units>
StreamEnd SortText(AfterMark& text, const LineRule& rule, AtomicFileWriter* const outputs[2],
                   Counts& counts, std::size_t blockSize) {
  if (!text.Mark().bytes.empty()) {
    for (int i = 0; i < 2; ++i) outputs[i]->Write(text.Mark().bytes);
  }
  LineWriter<Units> writer(outputs, counts);
  return ScanStreamedLines<Units>(text, blockSize, MakeScanRule(rule, text.Mark().encoding),
                                  RunScanKernels(), writer, &counts.nulLine);
}

StreamEnd SortByMark(AfterMark& text, std::int64_t size, const LineRule& rule,
                     AtomicFileWriter* const outputs[2], Counts& counts, std::size_t blockSize) {
  const bool oddSize = size >= 0 && size % 2 != 0;
  switch (text.Mark().encoding) {
    case TextEncoding::Bytes:
    case TextEncoding::Utf8:
      return SortText<ByteUnits>(text, rule, outputs, counts, blockSize);
    case TextEncoding::Utf16LE:
      if (oddSize) return StreamEnd::OddLength;
      return SortText<Utf16Units<false>>(text, rule, outputs, counts, blockSize);
    case TextEncoding::Utf16BE:
      if (oddSize) return StreamEnd::OddLength;
      return SortText<Utf16Units<true>>(text, rule, outputs, counts, blockSize);
    case TextEncoding::Utf32:
      break;
  }
  return StreamEnd::Utf32Mark;
}

}  // namespace

StreamSort SortLines(ByteSource& input, const LineRule& rule, AtomicFileWriter& bad,
                     AtomicFileWriter& ok, RunMonitor* monitor, std::size_t blockSize) {
  StreamSort result;
  AtomicFileWriter* const outputs[] = {&bad, &ok};
  Counts counts;
  Unmonitored nobody;
  MonitoredSource source(input, monitor ? *monitor : nobody, counts.lines, counts.good,
                         input.Size());
  AfterMark text(source);
  result.end = text.ReadMark(blockSize)
                   ? SortByMark(text, input.Size(), rule, outputs, counts, blockSize)
                   : StreamEnd::ReadFailed;
  result.sorted.lines = counts.lines;
  result.sorted.good = counts.good;
  result.sorted.nulLine = counts.nulLine;
  result.sorted.encoding = text.Mark().encoding;
  source.Close();
  // A stopped read ends the input early, which can look like its end or half a UTF-16 unit; a
  // stop is reported as a stop however the input then ended. One that came with the last read
  // still leaves the outputs as they were.
  if (source.Stopped() || (result.end == StreamEnd::Complete && !source.MayCommit()))
    result.end = StreamEnd::Interrupted;
  if (result.end != StreamEnd::Complete) {
    bad.Discard();
    ok.Discard();
    return result;
  }
  result.sorted.badWritten = bad.Commit();
  result.sorted.okWritten = ok.Commit();
  return result;
}

}  // namespace sipo
