// file_run.cpp - sorts the lines of a text file into good and bad lines.
#include "batch/file_run.h"

#include "batch/run_summary.h"
#include "core/lenient_conversions.h"
#include "files/atomic_file.h"
#include "files/input_file.h"
#include "files/native_path.h"

namespace sipo {
namespace {

InputState StateAfter(StreamEnd end) {
  switch (end) {
    case StreamEnd::Complete:
      return InputState::Read;
    case StreamEnd::Interrupted:
      return InputState::Interrupted;
    case StreamEnd::OddLength:
      return InputState::OddLength;
    case StreamEnd::Utf32Mark:
      return InputState::Utf32;
    case StreamEnd::ReadFailed:
      break;
  }
  return InputState::ReadFailed;
}

// The outputs are opened only once the input is open, so that an input that cannot be read
// leaves them untouched.
FileSortResult SortOpenInput(ByteSource& input, const std::filesystem::path& okOutput,
                             const std::filesystem::path& badOutput, const LineRule& rule,
                             RunMonitor* monitor) {
  AtomicFileWriter bad(badOutput);
  AtomicFileWriter ok(okOutput);
  const StreamSort sort = SortLines(input, rule, bad, ok, monitor);
  return {StateAfter(sort.end), sort.sorted};
}

// A read that failed because another program changed the file is told as such.
FileSortResult SortOpenFile(InputFile& file, const std::filesystem::path& okOutput,
                            const std::filesystem::path& badOutput, const LineRule& rule,
                            RunMonitor* monitor) {
  FileSortResult result = SortOpenInput(file, okOutput, badOutput, rule, monitor);
  if (result.input == InputState::ReadFailed && file.Changed()) result.input = InputState::Changed;
  return result;
}

// Why an input could not be read or was refused as unreadable; empty for one that was read.
std::string RefusalMessage(InputState state) {
  switch (state) {
    case InputState::Read:
    case InputState::Interrupted:
      return {};
    case InputState::Utf32:
      return std::string(file_run_text::kUtf32Refused);
    case InputState::OddLength:
      return std::string(file_run_text::kOddLengthRefused);
    case InputState::CannotOpen:
    case InputState::ReadFailed:
    case InputState::Changed:
      break;
  }
  return std::string(file_run_text::kInputFailed) + " " + std::string(file_run_text::kOutputsKept);
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
  rule.quoted = options.SYLK;
  rule.delimiter = options.Delimiter.empty() ? ';' : options.Delimiter.front();
  rule.column = StrToIntLenient(std::string_view(options.Column).substr(0, kConversionWindow));
  return rule;
}

FileSortResult SortFile(const std::filesystem::path& input, const std::filesystem::path& okOutput,
                        const std::filesystem::path& badOutput, const LineRule& rule,
                        RunMonitor* monitor) {
  InputFile file;
  // A closed standard input cannot be opened either.
  if (input.empty() ? !file.OpenStandardInput() : !file.Open(input)) return {};
  return SortOpenFile(file, okOutput, badOutput, rule, monitor);
}

std::optional<FileRunJob> FileRunJob::Start(const FileRunOptions& options,
                                            std::string_view programDir, FileRunHost& host) {
  if (!host.AskYesNo(file_run_text::kConfirm)) return std::nullopt;
  FileRunJob job;
  host.SetBusy(true);
  job.rule_ = LineRuleOf(options);
  job.input_ = ResolveUserPath(options.Input, programDir);
  job.badOutput_ = ResolveUserPath(options.BadOutput, programDir);
  job.okOutput_ = ResolveUserPath(options.OKOutput, programDir);
  host.ShowFileName(FileNameSlot::Input, job.input_);
  return job;
}

// The input is streamed into both outputs' temporaries while it is read. An input that fails,
// at once or part-way, leaves both outputs as they were, as a stopped sort does: writing them
// empty would destroy what they held for a run that checked nothing.
void FileRunJob::Sort(RunMonitor* monitor) noexcept {
  try {
    InputFile file;
    if (file.Open(NativePath(input_)))
      result_ = SortOpenFile(file, NativePath(okOutput_), NativePath(badOutput_), rule_, monitor);
  } catch (...) {
    failure_ = std::current_exception();
  }
}

void FileRunJob::Sort(ByteSource& input, RunMonitor* monitor) noexcept {
  try {
    result_ = SortOpenInput(input, NativePath(okOutput_), NativePath(badOutput_), rule_, monitor);
  } catch (...) {
    failure_ = std::current_exception();
  }
}

// The host still sees the steps in their fixed order, whatever thread sorted.
void FileRunJob::Finish(FileRunHost& host, FinishFor finishFor) {
  // A closing window has nowhere left to show a message; the outputs are whole either way.
  if (finishFor == FinishFor::Closing) {
    host.SetBusy(false);
    return;
  }
  if (Stopped()) {
    FinishStopped(host, finishFor);
    return;
  }
  const std::string refusal = RefusalMessage(result_.input);
  if (!failure_ && refusal.empty()) {
    host.ShowFileName(FileNameSlot::BadOutput, badOutput_);
    host.ShowFileName(FileNameSlot::OKOutput, okOutput_);
    if (!result_.sorted.badWritten) host.Inform(file_run_text::kBadOutputFailed);
    if (!result_.sorted.okWritten) host.Inform(file_run_text::kOKOutputFailed);
  }
  host.SetBusy(false);
  host.Inform(failure_          ? std::string(file_run_text::kDone)
              : refusal.empty() ? DoneMessage(result_.sorted)
                                : std::string(refusal));
  if (failure_) std::rethrow_exception(failure_);
}

void FileRunJob::FinishStopped(FileRunHost& host, FinishFor finishFor) {
  host.SetBusy(false);
  if (finishFor == FinishFor::User) host.Inform(file_run_text::kStopped);
}

void RunFileCheck(const FileRunOptions& options, std::string_view programDir, FileRunHost& host) {
  std::optional<FileRunJob> job = FileRunJob::Start(options, programDir, host);
  if (!job) return;
  job->Sort();
  job->Finish(host);
}

}  // namespace sipo
