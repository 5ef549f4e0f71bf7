// file_run.cpp - sorts the lines of a text file into good and bad lines.
#include "batch/file_run.h"

#include "batch/run_summary.h"
#include "core/lenient_conversions.h"
#include "files/native_path.h"
#include "files/output_target.h"

namespace sipo {
namespace {

// The window's fixed texts for the outputs that failed, one after the other.
std::string FailedOutputTexts(const FileSortResult& result) {
  std::string message;
  const auto add = [&](const OutputOutcome& outcome, std::string_view text) {
    if (!outcome.error) return;
    if (!message.empty()) message.push_back(' ');
    message.append(text);
  };
  add(result.bad, file_run_text::kBadOutputFailed);
  add(result.ok, file_run_text::kOKOutputFailed);
  return message;
}

// Why an input could not be read or was refused as unreadable; empty for one that was read, or
// whose reading stopped at an output's failed write (the counts then close the run, as the
// failed output's message and the kept outputs are told with them).
std::string RefusalMessage(const FileSortResult& result) {
  switch (result.input) {
    case InputState::Read:
    case InputState::Interrupted:
    case InputState::WriteFailed:
      return {};
    case InputState::Utf32:
      return file_run_text::WithOutputsKept(file_run_text::kUtf32Refused);
    case InputState::OddLength:
      return file_run_text::WithOutputsKept(file_run_text::kOddLengthRefused);
    case InputState::Workbook:
      return file_run_text::WithOutputsKept(file_run_text::kWorkbookRefused);
    case InputState::NotStarted:
      return file_run_text::WithOutputsKept(FailedOutputTexts(result));
    case InputState::CannotOpen:
    case InputState::ReadFailed:
    case InputState::Changed:
      break;
  }
  return file_run_text::WithOutputsKept(file_run_text::kInputFailed);
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

// Two outputs in one file would lose one's lines, whatever the user then answers: the run is
// refused before the question.
std::optional<FileRunJob> FileRunJob::Start(const FileRunOptions& options,
                                            std::string_view programDir, FileRunHost& host) {
  FileRunJob job;
  job.rule_ = LineRuleOf(options);
  job.input_ = ResolveUserPath(options.Input, programDir);
  job.badOutput_ = ResolveUserPath(options.BadOutput, programDir);
  job.okOutput_ = ResolveUserPath(options.OKOutput, programDir);
  if (SameFile(TargetOf(NativePath(job.okOutput_)), TargetOf(NativePath(job.badOutput_)))) {
    host.Inform(file_run_text::kSameOutputs);
    return std::nullopt;
  }
  if (!host.AskYesNo(file_run_text::kConfirm)) return std::nullopt;
  host.SetBusy(true);
  host.ShowFileName(FileNameSlot::Input, job.input_);
  return job;
}

// The input is streamed into both outputs' temporaries while it is read. An input that fails,
// at once or part-way, leaves both outputs as they were, as a stopped sort does: writing them
// empty would destroy what they held for a run that checked nothing.
void FileRunJob::Sort(RunMonitor* monitor) noexcept {
  try {
    // An empty name would be standard input, which the window has none of.
    if (input_.empty()) return;
    result_ = SortFile(NativePath(input_), TargetOf(NativePath(okOutput_)),
                       TargetOf(NativePath(badOutput_)), {rule_, monitor});
  } catch (...) {
    failure_ = std::current_exception();
  }
}

void FileRunJob::Sort(ByteSource& input, RunMonitor* monitor) noexcept {
  try {
    result_ = SortFile(input, TargetOf(NativePath(okOutput_)), TargetOf(NativePath(badOutput_)),
                       {rule_, monitor});
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
  // A sort that failed tells of it in its error box alone: it did not finish, and its outputs,
  // discarded as it unwound, are as they were.
  if (failure_) {
    host.SetBusy(false);
    std::rethrow_exception(failure_);
  }
  if (Stopped()) {
    FinishStopped(host, finishFor);
    return;
  }
  const std::string refusal = RefusalMessage(result_);
  // The names show where the outputs went, or which could not be made.
  if (refusal.empty() || result_.input == InputState::NotStarted) {
    host.ShowFileName(FileNameSlot::BadOutput, badOutput_);
    host.ShowFileName(FileNameSlot::OKOutput, okOutput_);
  }
  if (refusal.empty()) {
    if (result_.bad.error) host.Inform(file_run_text::kBadOutputFailed);
    if (result_.ok.error) host.Inform(file_run_text::kOKOutputFailed);
  }
  host.SetBusy(false);
  host.Inform(refusal.empty() ? ClosingMessage() : refusal);
}

// An output that failed while it was written keeps the other as it was too: the closing box
// says so after the counts.
std::string FileRunJob::ClosingMessage() const {
  std::string message = DoneMessage(result_.sorted);
  if (!result_.sorted.badWritten || !result_.sorted.okWritten)
    message.append("\r\n").append(file_run_text::kOutputsKept);
  return message;
}

void FileRunJob::FinishStopped(FileRunHost& host, FinishFor finishFor) {
  host.SetBusy(false);
  if (finishFor == FinishFor::User)
    host.Inform(file_run_text::WithOutputsKept(file_run_text::kInterrupted));
}

void RunFileCheck(const FileRunOptions& options, std::string_view programDir, FileRunHost& host) {
  std::optional<FileRunJob> job = FileRunJob::Start(options, programDir, host);
  if (!job) return;
  job->Sort();
  job->Finish(host);
}

}  // namespace sipo
