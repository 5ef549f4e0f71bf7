// line_sorter.cpp - sorts the lines of a text in memory into a good and a bad output file.
#include "batch/line_sorter.h"

#include "batch/file_io.h"
#include "batch/line_list.h"

namespace sipo {
namespace {

// Collects neighbouring lines that already end in CR LF into one span, so that the usual Windows
// export is copied in long pieces rather than line by line.
class SpanWriter {
 public:
  SpanWriter(AtomicFileWriter& out, std::string_view text)
      : out_(out), textEnd_(text.data() + text.size()) {}
  ~SpanWriter() { Flush(); }
  SpanWriter(const SpanWriter&) = delete;
  SpanWriter& operator=(const SpanWriter&) = delete;

  void Line(std::string_view line) {
    const char* after = line.data() + line.size();
    if (textEnd_ - after >= 2 && after[0] == '\r' && after[1] == '\n') {
      if (line.data() != spanEnd_) {
        Flush();
        spanBegin_ = line.data();
      }
      spanEnd_ = after + 2;
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
  const char* textEnd_;
  const char* spanBegin_ = nullptr;
  const char* spanEnd_ = nullptr;
};

}  // namespace

// One pass over the text feeds both outputs' temporary files; memory stays at the text's size
// however many lines there are.
SortResult SortLinesInto(std::string_view text, const LineRule& rule, std::string_view badName,
                         std::string_view okName) {
  SortResult result;
  AtomicFileWriter bad(badName);
  AtomicFileWriter ok(okName);
  SpanWriter badLines(bad, text);
  SpanWriter okLines(ok, text);
  FieldList fields;
  ForEachLine(text, [&](std::string_view line) {
    const bool good = LineIsGood(line, rule, fields);
    (good ? okLines : badLines).Line(line);
    ++result.lines;
    result.good += good;
  });
  badLines.Flush();
  okLines.Flush();
  result.badWritten = bad.Commit();
  result.okWritten = ok.Commit();
  return result;
}

}  // namespace sipo
