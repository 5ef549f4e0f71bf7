// file_sort.cpp - one sort of an input into a good and a bad output, its steps in order.
#include "batch/file_sort.h"

#include <string>

#include "batch/text_start.h"
#include "batch/text_units.h"
#include "files/atomic_file.h"

namespace sipo {
namespace {

// Nothing to tell and nobody to stop the run.
class Unmonitored : public RunMonitor {
 public:
  void Progress(const RunProgress&) override {}
  bool StopRequested() override { return false; }
};

// The input as the run reads it: each read is reported to the monitor with the counts so far,
// and a stop request, or an output whose write failed, ends the input there.
class RunInput : public ByteSource {
 public:
  RunInput(ByteSource& input, RunMonitor& monitor, const SortResult& sorted,
           const AtomicFileWriter& bad, const AtomicFileWriter& ok)
      : input_(input), monitor_(monitor), sorted_(sorted), bad_(bad), ok_(ok) {
    progress_.inputSize = input.Size();
  }
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    if (Stopped() || WriteFailed()) return 0;
    monitor_.ReadStarting(Counted());
    const std::ptrdiff_t count = input_.Read(buffer, size);
    if (count > 0) progress_.bytesRead += static_cast<std::uint64_t>(count);
    monitor_.Progress(Counted());
    return Stopped() ? 0 : count;
  }
  void Close() override { input_.Close(); }
  bool Stopped() {
    stopped_ = stopped_ || monitor_.StopRequested();
    return stopped_;
  }
  // A failed write has removed that output's temporary: nothing more is worth reading.
  bool WriteFailed() const { return !bad_.IsOpen() || !ok_.IsOpen(); }
  // The last word before the outputs are replaced.
  bool MayCommit() {
    stopped_ = stopped_ || !monitor_.CommitStarting();
    return !stopped_;
  }

 private:
  const RunProgress& Counted() {
    progress_.lines = sorted_.lines;
    progress_.good = sorted_.good;
    return progress_;
  }

  ByteSource& input_;
  RunMonitor& monitor_;
  const SortResult& sorted_;
  const AtomicFileWriter& bad_;
  const AtomicFileWriter& ok_;
  RunProgress progress_;
  bool stopped_ = false;
};

std::string_view LineEndIn(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf16LE:
      return Utf16Units<false>::kLineEnd;
    case TextEncoding::Utf16BE:
      return Utf16Units<true>::kLineEnd;
    default:
      return ByteUnits::kLineEnd;
  }
}

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

// One run over an open input. The outputs are made only once the input is open, so that an
// input that cannot be read leaves them untouched, and both before its first byte is read, so
// that an output that cannot be made stops the run while both are as they were.
class FileSort {
 public:
  FileSort(ByteSource& input, const SortSettings& settings) : input_(input), settings_(settings) {}

  FileSortResult Run(const OutputTarget& okOutput, const OutputTarget& badOutput) {
    AtomicFileWriter bad(badOutput);
    AtomicFileWriter ok(okOutput);
    result_.bad = {bad.Error(), bad.WritesInPlace()};
    result_.ok = {ok.Error(), ok.WritesInPlace()};
    if (!bad.IsOpen() || !ok.IsOpen()) {
      result_.input = InputState::NotStarted;
      return result_;
    }
    AtomicFileWriter::CommitTogether(bad, ok);
    Unmonitored nobody;
    RunInput source(input_, settings_.monitor ? *settings_.monitor : nobody, result_.sorted, bad,
                    ok);
    const StreamEnd end = Sort(source, bad, ok);
    const bool changed = input_.Changed();
    if (changed) result_.inputChange = input_.WhatChanged();
    source.Close();
    result_.input = Ending(end, changed, source);
    if (result_.input == InputState::Read) {
      result_.sorted.badWritten = bad.Commit();
      result_.sorted.okWritten = ok.Commit();
    } else {
      bad.Discard();
      ok.Discard();
    }
    result_.bad.error = bad.Error();
    result_.ok.error = ok.Error();
    return result_;
  }

 private:
  // Both outputs begin with the text's mark, then its header line; the lines follow.
  StreamEnd Sort(RunInput& source, AtomicFileWriter& bad, AtomicFileWriter& ok) {
    TextStart text(source, settings_.blockSize);
    if (!text.ReadMark() || !text.ReadWorkbookSignature()) return StreamEnd::ReadFailed;
    // A workbook chosen in place of its text export ends the sort before a byte is written.
    workbook_ = text.IsWorkbook();
    if (workbook_) return StreamEnd::Complete;
    const TextEncoding encoding = text.Mark().encoding;
    result_.sorted.encoding = encoding;
    if (encoding == TextEncoding::Utf32) return StreamEnd::Utf32Mark;
    const bool utf16 = encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
    if (utf16 && input_.Size() >= 0 && input_.Size() % 2 != 0) return StreamEnd::OddLength;
    std::string start(text.Mark().bytes);
    if (settings_.header) {
      if (!text.ReadFirstLine()) return StreamEnd::ReadFailed;
      // With no first line there is no header.
      result_.headerCopied = text.HasFirstLine();
      if (text.HasFirstLine()) start.append(text.FirstLine()).append(LineEndIn(encoding));
    }
    bad.Write(start);
    ok.Write(start);
    SortResult& sorted = result_.sorted;
    const StreamEnd end =
        WriteSortedLines(text, encoding, settings_.rule, bad, ok, sorted, settings_.blockSize);
    // Lines are told by their place in the input, the header's included.
    if (text.NulEndedFirstLine()) {
      sorted.nulLine = 1;
    } else if (sorted.nulLine != 0 && result_.headerCopied) {
      ++sorted.nulLine;
    }
    return end;
  }

  // A stopped read ends the input early, which can look like its end or half a UTF-16 unit: a
  // stop is reported as a stop however the input then ended. A change of the input is found
  // however reading ended, a NUL's end included; then an output whose write failed. A stop that
  // came with the last read still leaves the outputs as they were.
  InputState Ending(StreamEnd end, bool changed, RunInput& source) {
    if (source.Stopped()) return InputState::Interrupted;
    if (changed) return InputState::Changed;
    if (workbook_) return InputState::Workbook;
    if (source.WriteFailed()) return InputState::WriteFailed;
    if (end == StreamEnd::ReadFailed) result_.inputError = input_.Error();
    if (end == StreamEnd::Complete && !source.MayCommit()) return InputState::Interrupted;
    return StateAfter(end);
  }

  ByteSource& input_;
  const SortSettings& settings_;
  FileSortResult result_;
  bool workbook_ = false;
};

}  // namespace

FileSortResult SortFile(const std::filesystem::path& input, const OutputTarget& okOutput,
                        const OutputTarget& badOutput, const SortSettings& settings) {
  InputFile file;
  // A closed standard input cannot be opened either.
  if (input.empty() ? !file.OpenStandardInput() : !file.Open(input)) {
    FileSortResult result;
    result.inputError = file.Error();
    return result;
  }
  return SortFile(file, okOutput, badOutput, settings);
}

FileSortResult SortFile(ByteSource& input, const OutputTarget& okOutput,
                        const OutputTarget& badOutput, const SortSettings& settings) {
  return FileSort(input, settings).Run(okOutput, badOutput);
}

}  // namespace sipo
