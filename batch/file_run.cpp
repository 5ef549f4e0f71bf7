// file_run.cpp - sorts the lines of a text file into good and bad lines.
#include "batch/file_run.h"

#include "batch/header_line.h"
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

// Both outputs begin with the mark and the header; the sort then writes the mark again, which
// they drop. A NUL inside the header leaves nothing to sort.
StreamSort SortAfterHeader(ByteSource& input, const LineRule& rule, AtomicFileWriter& bad,
                           AtomicFileWriter& ok, RunMonitor* monitor, FileSortResult& result) {
  HeaderSource text(input);
  if (!text.ReadHeader()) {
    bad.Discard();
    ok.Discard();
    return {StreamEnd::ReadFailed, {}};
  }
  if (text.Mark().encoding != TextEncoding::Utf32) {
    result.headerCopied = true;
    for (AtomicFileWriter* output : {&bad, &ok}) {
      output->Write(text.OutputStart());
      output->SkipIfNext(text.Mark().bytes);
    }
  }
  StreamSort sort = SortLines(text, rule, bad, ok, monitor);
  // Lines are told by their place in the input, the header's included.
  if (text.NulEndedHeader()) {
    sort.sorted.nulLine = 1;
  } else if (sort.sorted.nulLine != 0) {
    ++sort.sorted.nulLine;
  }
  return sort;
}

// The outputs are made only once the input is open, so that an input that cannot be read leaves
// them untouched, and both before its first byte is read, so that an output that cannot be made
// stops the run while both are as they were.
FileSortResult SortOpenInput(ByteSource& input, const OutputTarget& okOutput,
                             const OutputTarget& badOutput, const LineRule& rule,
                             RunMonitor* monitor, bool header) {
  FileSortResult result;
  AtomicFileWriter bad(badOutput);
  AtomicFileWriter ok(okOutput);
  result.bad = {bad.Error(), bad.WritesInPlace()};
  result.ok = {ok.Error(), ok.WritesInPlace()};
  if (!bad.IsOpen() || !ok.IsOpen()) {
    result.input = InputState::NotStarted;
    return result;
  }
  AtomicFileWriter::CommitTogether(bad, ok);
  const StreamSort sort = header ? SortAfterHeader(input, rule, bad, ok, monitor, result)
                                 : SortLines(input, rule, bad, ok, monitor);
  result.input = StateAfter(sort.end);
  result.sorted = sort.sorted;
  result.bad.error = bad.Error();
  result.ok.error = ok.Error();
  return result;
}

// A read that failed because another program changed the file is told as such.
FileSortResult SortOpenFile(InputFile& file, const OutputTarget& okOutput,
                            const OutputTarget& badOutput, const LineRule& rule,
                            RunMonitor* monitor, bool header = false) {
  FileSortResult result = SortOpenInput(file, okOutput, badOutput, rule, monitor, header);
  if (result.input == InputState::ReadFailed) result.inputError = file.Error();
  if (result.input == InputState::ReadFailed && file.Changed()) result.input = InputState::Changed;
  result.inputChange = file.WhatChanged();
  return result;
}

// The window's messages for outputs that failed, each by its fixed text.
std::string OutputFailures(const FileSortResult& result) {
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

// Why an input could not be read or was refused as unreadable; empty for one that was read.
std::string RefusalMessage(const FileSortResult& result) {
  switch (result.input) {
    case InputState::Read:
    case InputState::Interrupted:
      return {};
    case InputState::Utf32:
      return std::string(file_run_text::kUtf32Refused);
    case InputState::OddLength:
      return std::string(file_run_text::kOddLengthRefused);
    case InputState::NotStarted:
      return OutputFailures(result) + " " + std::string(file_run_text::kOutputsKept);
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

FileSortResult SortFile(const std::filesystem::path& input, const OutputTarget& okOutput,
                        const OutputTarget& badOutput, const LineRule& rule, RunMonitor* monitor,
                        bool header) {
  InputFile file;
  // A closed standard input cannot be opened either.
  if (input.empty() ? !file.OpenStandardInput() : !file.Open(input)) {
    FileSortResult result;
    result.inputError = file.Error();
    return result;
  }
  return SortOpenFile(file, okOutput, badOutput, rule, monitor, header);
}

FileSortResult SortFile(const std::filesystem::path& input, const std::filesystem::path& okOutput,
                        const std::filesystem::path& badOutput, const LineRule& rule,
                        RunMonitor* monitor) {
  return SortFile(input, TargetOf(okOutput), TargetOf(badOutput), rule, monitor);
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
    InputFile file;
    if (file.Open(NativePath(input_))) {
      result_ = SortOpenFile(file, TargetOf(NativePath(okOutput_)),
                             TargetOf(NativePath(badOutput_)), rule_, monitor);
    }
  } catch (...) {
    failure_ = std::current_exception();
  }
}

void FileRunJob::Sort(ByteSource& input, RunMonitor* monitor) noexcept {
  try {
    result_ = SortOpenInput(input, TargetOf(NativePath(okOutput_)),
                            TargetOf(NativePath(badOutput_)), rule_, monitor, false);
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
  const std::string refusal = RefusalMessage(result_);
  // The names show where the outputs went, or which could not be made.
  if (!failure_ && (refusal.empty() || result_.input == InputState::NotStarted)) {
    host.ShowFileName(FileNameSlot::BadOutput, badOutput_);
    host.ShowFileName(FileNameSlot::OKOutput, okOutput_);
  }
  if (!failure_ && refusal.empty()) {
    if (result_.bad.error) host.Inform(file_run_text::kBadOutputFailed);
    if (result_.ok.error) host.Inform(file_run_text::kOKOutputFailed);
  }
  host.SetBusy(false);
  host.Inform(failure_          ? std::string(file_run_text::kDone)
              : refusal.empty() ? ClosingMessage()
                                : std::string(refusal));
  if (failure_) std::rethrow_exception(failure_);
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
  if (finishFor == FinishFor::User) host.Inform(file_run_text::kStopped);
}

void RunFileCheck(const FileRunOptions& options, std::string_view programDir, FileRunHost& host) {
  std::optional<FileRunJob> job = FileRunJob::Start(options, programDir, host);
  if (!job) return;
  job->Sort();
  job->Finish(host);
}

}  // namespace sipo
