// file_run.cpp - sorts the lines of a text file into good and bad lines.
#include "batch/file_run.h"

#include <vector>

#include "batch/file_io.h"
#include "batch/line_list.h"
#include "core/lenient_conversions.h"
#include "core/sipo_number.h"

namespace sipo {
namespace {

// The input with one verdict per line, which keeps memory near the input's size however many
// lines there are; the lines themselves are found again when the outputs are written.
struct SortedLines {
  FileContent content;
  std::vector<bool> good;
  std::uint64_t goodCount = 0;
};

SortedLines SortLines(FileContent content, const LineRule& rule) {
  SortedLines sorted{std::move(content), {}, 0};
  FieldList fields;
  ForEachLine(sorted.content.View(), [&](std::string_view line) {
    const bool good =
        LineHasValidNumber(line, rule.singleColumn, rule.sylk, rule.delimiter, rule.column, fields);
    sorted.good.push_back(good);
    sorted.goodCount += good;
  });
  return sorted;
}

// Writes the lines of one verdict, each followed by CR LF, in input order.
bool WriteSelected(std::string_view name, const SortedLines& sorted, bool wanted) {
  AtomicFileWriter writer(name);
  if (!writer.IsOpen()) return false;
  std::size_t index = 0;
  ForEachLine(sorted.content.View(), [&](std::string_view line) {
    if (sorted.good[index++] == wanted) {
      writer.Write(line);
      writer.Write(kLineEnd);
    }
  });
  return writer.Commit();
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
  const SortedLines sorted = SortLines(std::move(content), rule);
  counts.lines = sorted.good.size();
  counts.good = sorted.goodCount;
  counts.badWritten = WriteSelected(badOutput, sorted, false);
  counts.okWritten = WriteSelected(okOutput, sorted, true);
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
  const SortedLines sorted = SortLines(std::move(content), rule);
  const std::string badOutput = ResolveUserPath(options.BadOutput, programDir);
  host.ShowFileName(FileNameSlot::BadOutput, badOutput);
  const std::string okOutput = ResolveUserPath(options.OKOutput, programDir);
  host.ShowFileName(FileNameSlot::OKOutput, okOutput);
  if (!WriteSelected(badOutput, sorted, false)) host.Inform(file_run_text::kBadOutputFailed);
  if (!WriteSelected(okOutput, sorted, true)) host.Inform(file_run_text::kOKOutputFailed);
}

}  // namespace sipo
