// line_sorter.cpp - sorts the lines of a stream into a good and a bad output as they are read.
#include "batch/line_sorter.h"

#include "batch/line_list.h"

namespace sipo {
namespace {

// Collects neighbouring lines of one block that already end in CR LF into one span, so that the
// usual Windows export is copied in long pieces straight from the block rather than line by line.
class SpanWriter {
 public:
  explicit SpanWriter(AtomicFileWriter& out) : out_(out) {}

  void Line(std::string_view line, bool crlfFollows) {
    if (crlfFollows) {
      if (line.data() != spanEnd_) {
        Flush();
        spanBegin_ = line.data();
      }
      spanEnd_ = line.data() + line.size() + kLineEnd.size();
      return;
    }
    Flush();
    out_.Write(line);
    out_.Write(kLineEnd);
  }

  void Flush() {
    if (spanBegin_ != nullptr) {
      out_.Write({spanBegin_, static_cast<std::size_t>(spanEnd_ - spanBegin_)});
    }
    spanBegin_ = spanEnd_ = nullptr;
  }

 private:
  AtomicFileWriter& out_;
  const char* spanBegin_ = nullptr;
  const char* spanEnd_ = nullptr;
};

}  // namespace

StreamSort SortLines(ByteSource& input, const LineRule& rule, AtomicFileWriter& bad,
                     AtomicFileWriter& ok, std::size_t blockSize) {
  StreamSort result;
  SpanWriter badLines(bad);
  SpanWriter okLines(ok);
  result.end = ForEachStreamedLine(
      input, blockSize,
      [&](std::string_view line, bool crlfFollows) {
        const bool good = LineIsGood(line, rule);
        (good ? okLines : badLines).Line(line, crlfFollows);
        ++result.sorted.lines;
        result.sorted.good += good;
      },
      [&] {
        badLines.Flush();
        okLines.Flush();
      });
  input.Close();
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
