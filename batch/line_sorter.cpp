// line_sorter.cpp - sorts the lines of a stream into a good and a bad output as they are read.
#include "batch/line_sorter.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "batch/line_list.h"

namespace sipo {
namespace {

// A line and its CR LF, at most this long, is moved in one fixed-size copy.
constexpr std::size_t kShortLine = AtomicFileWriter::kRoom - kLineEnd.size();
static_assert(AtomicFileWriter::kRoom <= kStreamSlack);

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

// Appends the line and CR LF to the output. The output is chosen by index rather than by a branch
// and a short line is moved whole in a fixed-size copy: good and bad lines alternate at random,
// and a mispredicted branch per line would cost more than the copy.
inline void Append(AtomicFileWriter& out, std::string_view line) {
  if (line.size() > kShortLine) {
    out.Write(line);
    out.Write(kLineEnd);
    return;
  }
  char* to = out.Room();
  CopyRoom(to, line.data());
  std::memcpy(to + line.size(), kLineEnd.data(), kLineEnd.size());
  out.Advance(line.size() + kLineEnd.size());
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
    const std::ptrdiff_t count = input_.Read(buffer, size);
    if (count > 0) progress_.bytesRead += static_cast<std::uint64_t>(count);
    progress_.lines = lines_;
    progress_.good = good_;
    monitor_.Progress(progress_);
    return Stopped() ? 0 : count;
  }
  void Close() override { input_.Close(); }
  bool Stopped() {
    stopped_ = stopped_ || monitor_.StopRequested();
    return stopped_;
  }

 private:
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

}  // namespace

StreamSort SortLines(ByteSource& input, const LineRule& rule, AtomicFileWriter& bad,
                     AtomicFileWriter& ok, RunMonitor* monitor, std::size_t blockSize) {
  StreamSort result;
  AtomicFileWriter* const outputs[] = {&bad, &ok};
  std::uint64_t lines = 0;
  std::uint64_t good = 0;
  Unmonitored nobody;
  MonitoredSource source(input, monitor ? *monitor : nobody, lines, good, input.Size());
  result.end = ForEachStreamedLine(source, blockSize, [&](std::string_view line, bool) {
    const bool isGood = LineIsGood(line, rule);
    Append(*outputs[isGood], line);
    ++lines;
    good += isGood;
  });
  result.sorted.lines = lines;
  result.sorted.good = good;
  source.Close();
  // A stop that came with the input's last read still leaves the outputs as they were.
  if (result.end == StreamEnd::Complete && source.Stopped()) result.end = StreamEnd::Interrupted;
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
