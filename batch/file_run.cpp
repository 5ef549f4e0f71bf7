// file_run.cpp - sorts the lines of a text file into good and bad lines.
#include "batch/file_run.h"

#include "core/lenient_conversions.h"
#include "files/atomic_file.h"
#include "files/input_file.h"
#include "files/native_path.h"

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

InputState StateAfter(StreamEnd end, const InputFile& file) {
  switch (end) {
    case StreamEnd::Complete:
      return InputState::Read;
    case StreamEnd::Interrupted:
      return InputState::Interrupted;
    case StreamEnd::ReadFailed:
      break;
  }
  return file.Changed() ? InputState::Changed : InputState::ReadFailed;
}

// Opens the outputs only once the input is open, so that an input that cannot be read leaves
// them untouched.
FileSortResult SortOpenFile(InputFile& file, const std::filesystem::path& okOutput,
                            const std::filesystem::path& badOutput, const LineRule& rule) {
  AtomicFileWriter bad(badOutput);
  AtomicFileWriter ok(okOutput);
  const StreamSort sort = SortLines(file, rule, bad, ok);
  return {StateAfter(sort.end, file), sort.sorted};
}

bool WriteEmpty(const std::filesystem::path& name) {
  return AtomicFileWriter(name).Commit();
}

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

FileSortResult SortFile(const std::filesystem::path& input, const std::filesystem::path& okOutput,
                        const std::filesystem::path& badOutput, const LineRule& rule) {
  InputFile file;
  if (input.empty()) {
    file.OpenStandardInput();
  } else if (!file.Open(input)) {
    return {};
  }
  return SortOpenFile(file, okOutput, badOutput, rule);
}

// The input is streamed into both outputs' temporaries while it is read; the host still sees the
// steps in their fixed order, and an input that fails, at once or part-way, gives two empty
// outputs as one that cannot be opened does.
void RunFileCheck(const FileRunOptions& options, std::string_view programDir, FileRunHost& host) {
  if (!host.AskYesNo(file_run_text::kConfirm)) return;
  RunEnd end(host);
  const LineRule rule = LineRuleOf(options);
  const std::string input = ResolveUserPath(options.Input, programDir);
  host.ShowFileName(FileNameSlot::Input, input);
  const std::string badOutput = ResolveUserPath(options.BadOutput, programDir);
  const std::string okOutput = ResolveUserPath(options.OKOutput, programDir);
  const std::filesystem::path badPath = NativePath(badOutput);
  const std::filesystem::path okPath = NativePath(okOutput);
  InputFile file;
  FileSortResult result;
  if (file.Open(NativePath(input))) result = SortOpenFile(file, okPath, badPath, rule);
  if (!result.InputRead()) host.Inform(file_run_text::kInputFailed);
  host.ShowFileName(FileNameSlot::BadOutput, badOutput);
  host.ShowFileName(FileNameSlot::OKOutput, okOutput);
  if (!result.InputRead()) {
    result.sorted.badWritten = WriteEmpty(badPath);
    result.sorted.okWritten = WriteEmpty(okPath);
  }
  if (!result.sorted.badWritten) host.Inform(file_run_text::kBadOutputFailed);
  if (!result.sorted.okWritten) host.Inform(file_run_text::kOKOutputFailed);
}

}  // namespace sipo
