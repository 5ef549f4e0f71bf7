// file_run.cpp - sorts the lines of a text file into good and bad lines.
#include "batch/file_run.h"

#include <vector>

#include "batch/file_io.h"
#include "batch/line_list.h"
#include "core/lenient_conversions.h"
#include "core/sipo_number.h"

namespace sipo {
namespace {

// Collects neighbouring input lines that already end in CR LF into one span, so that the usual
// Windows export is written in long pieces rather than line by line.
class SpanWriter {
 public:
  SpanWriter(AtomicFileWriter& writer, std::string_view text) : writer_(writer), text_(text) {}
  ~SpanWriter() { Flush(); }
  SpanWriter(const SpanWriter&) = delete;
  SpanWriter& operator=(const SpanWriter&) = delete;

  void Line(std::string_view line) {
    const char* after = line.data() + line.size();
    const char* textEnd = text_.data() + text_.size();
    if (textEnd - after >= 2 && after[0] == '\r' && after[1] == '\n') {
      if (line.data() != spanEnd_) Flush();
      if (spanBegin_ == nullptr) spanBegin_ = line.data();
      spanEnd_ = after + 2;
      return;
    }
    Flush();
    writer_.Write(line);
    writer_.Write(kLineEnd);
  }

 private:
  void Flush() {
    if (spanBegin_ != nullptr) {
      writer_.Write({spanBegin_, static_cast<std::size_t>(spanEnd_ - spanBegin_)});
    }
    spanBegin_ = spanEnd_ = nullptr;
  }

  AtomicFileWriter& writer_;
  std::string_view text_;
  const char* spanBegin_ = nullptr;
  const char* spanEnd_ = nullptr;
};

struct SortResult {
  std::uint64_t lines = 0;
  std::uint64_t good = 0;
  bool badWritten = false;
  bool okWritten = false;
};

// One pass over the input feeds both outputs; the bad output replaces its file first, then the
// good one. The input is already whole in memory, so an output may be the input file itself.
SortResult SortInto(std::string_view text, const LineRule& rule, std::string_view badName,
                    std::string_view okName) {
  SortResult result;
  AtomicFileWriter bad(badName);
  AtomicFileWriter ok(okName);
  {
    SpanWriter badLines(bad, text);
    SpanWriter okLines(ok, text);
    FieldList fields;
    ForEachLine(text, [&](std::string_view line) {
      const bool good =
          LineHasValidNumber(line, rule.singleColumn, rule.sylk, rule.delimiter, rule.column, fields);
      (good ? okLines : badLines).Line(line);
      ++result.lines;
      result.good += good;
    });
  }
  result.badWritten = bad.Commit();
  result.okWritten = ok.Commit();
  return result;
}

// Turns the busy indicator off and says "Hotovo." however the run ends.
class RunEnd {
 public:
  explicit RunEnd(FileRunHost& host) : host_(host) { host_.SetBusy(true); }
  ~RunEnd() {
    try {
      host_.SetBusy(false);
      host_.Inform(file_run_text::kDone);
    } catch (...) {
      // A failure while already unwinding must not end the program.
    }
  }
  RunEnd(const RunEnd&) = delete;
  RunEnd& operator=(const RunEnd&) = delete;

 private:
  FileRunHost& host_;
};

}  // namespace

std::string ResolveUserPath(std::string_view name, std::string_view programDir) {
  if (name.size() >= 3) {
    if (name.front() == '"') name.remove_prefix(1);
    if (name.back() == '"') name.remove_suffix(1);
  }
  if (name.find(":\\") != std::string_view::npos || name.find("\\\\") != std::string_view::npos) {
    return std::string(name);
  }
  return std::string(programDir).append(name);
}

bool LineHasValidNumber(std::string_view line, bool singleColumn, bool sylk, char delimiter,
                        std::int32_t column, FieldList& fields) {
  if (singleColumn) return IsValidSipoNumber(line);
  if (sylk) {
    SplitQuoted(line, fields);
  } else {
    SplitDelimited(delimiter, line, fields);
  }
  if (column < 0 || static_cast<std::size_t>(column) >= fields.size()) return false;
  return IsValidSipoNumber(fields[static_cast<std::size_t>(column)]);
}

LineRule LineRuleOf(const FileRunOptions& options) {
  LineRule rule;
  rule.singleColumn = options.SingleColumn;
  rule.sylk = options.SYLK;
  rule.delimiter = options.Delimiter.empty() ? ';' : options.Delimiter.front();
  rule.column = StrToIntLenient(std::string_view(options.Column).substr(0, kConversionWindow));
  return rule;
}

SortCounts SortFile(std::string_view input, std::string_view okOutput, std::string_view badOutput,
                    const LineRule& rule) {
  SortCounts counts;
  FileContent content;
  counts.inputRead = ReadWholeFile(input, content);
  if (!counts.inputRead) return counts;
  const SortResult sorted = SortInto(content.View(), rule, badOutput, okOutput);
  counts.lines = sorted.lines;
  counts.good = sorted.good;
  counts.badWritten = sorted.badWritten;
  counts.okWritten = sorted.okWritten;
  return counts;
}

void RunFileCheck(const FileRunOptions& options, std::string_view programDir, FileRunHost& host) {
  if (!host.AskYesNo(file_run_text::kConfirm)) return;
  RunEnd end(host);
  const LineRule rule = LineRuleOf(options);
  const std::string input = ResolveUserPath(options.Input, programDir);
  host.ShowFileName(FileNameSlot::Input, input);
  FileContent content;
  if (!ReadWholeFile(input, content)) {
    host.Inform(file_run_text::kInputFailed);
    content = {};
  }
  const std::string badOutput = ResolveUserPath(options.BadOutput, programDir);
  host.ShowFileName(FileNameSlot::BadOutput, badOutput);
  const std::string okOutput = ResolveUserPath(options.OKOutput, programDir);
  host.ShowFileName(FileNameSlot::OKOutput, okOutput);
  const SortResult sorted = SortInto(content.View(), rule, badOutput, okOutput);
  if (!sorted.badWritten) host.Inform(file_run_text::kBadOutputFailed);
  if (!sorted.okWritten) host.Inform(file_run_text::kOKOutputFailed);
}

}  // namespace sipo
