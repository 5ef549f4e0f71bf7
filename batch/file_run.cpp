// file_run.cpp - sorts the lines of a text file into good and bad lines.
#include "batch/file_run.h"

#include "batch/file_io.h"
#include "core/lenient_conversions.h"

namespace sipo {
namespace {

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

LineRule LineRuleOf(const FileRunOptions& options) {
  LineRule rule;
  rule.singleColumn = options.SingleColumn;
  rule.sylk = options.SYLK;
  rule.delimiter = options.Delimiter.empty() ? ';' : options.Delimiter.front();
  rule.column = StrToIntLenient(std::string_view(options.Column).substr(0, kConversionWindow));
  return rule;
}

FileSortResult SortFile(std::string_view input, std::string_view okOutput,
                        std::string_view badOutput, const LineRule& rule) {
  FileSortResult result;
  FileContent content;
  result.inputRead = ReadWholeFile(input, content);
  if (result.inputRead) result.sorted = SortLinesInto(content.View(), rule, badOutput, okOutput);
  return result;
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
  const SortResult sorted = SortLinesInto(content.View(), rule, badOutput, okOutput);
  if (!sorted.badWritten) host.Inform(file_run_text::kBadOutputFailed);
  if (!sorted.okWritten) host.Inform(file_run_text::kOKOutputFailed);
}

}  // namespace sipo
