// file_sort.h - one sort of an input into a good and a bad output, from opening the input to
// replacing both outputs or neither.
#pragma once

#include <cstddef>
#include <filesystem>
#include <system_error>

#include "batch/line_rule.h"
#include "batch/line_sorter.h"
#include "batch/line_stream.h"
#include "batch/run_monitor.h"
#include "files/input_file.h"
#include "files/output_target.h"

namespace sipo {

// How reading the input of a sort ended. Changed: another program changed it meanwhile.
// WriteFailed: an output's write failed, and no more of the input was read. Utf32 and OddLength:
// refused as unreadable (a UTF-32 mark, a UTF-16 text of odd length). Workbook: refused as a
// spreadsheet's workbook, not its text. NotStarted: an output could not be made, so nothing was
// read.
enum class InputState {
  Read,
  CannotOpen,
  ReadFailed,
  Changed,
  Interrupted,
  WriteFailed,
  Utf32,
  OddLength,
  Workbook,
  NotStarted
};

// How one output fared.
struct OutputOutcome {
  // Why it could not be made, written or replaced, as the system said; nothing when it was
  // written, or held back because the other output failed.
  std::error_code error;
  // Its bytes went out as they came (a device, a pipe, standard output).
  bool inPlace = false;
};

// What a sort of a file did.
struct FileSortResult {
  InputState input = InputState::CannotOpen;
  SortResult sorted;
  std::error_code inputError;  // why the input could not be opened or read
  InputChange inputChange;     // Changed: what another program altered
  OutputOutcome bad, ok;
  bool headerCopied = false;  // the first line went to both outputs unchecked
  bool InputRead() const { return input == InputState::Read; }
  // Unreadable, changed, refused, stopped or never started: both outputs were left as they were.
  bool OutputsKept() const { return !InputRead(); }
};

struct SortSettings {
  LineRule rule;
  // Hears of every read and can stop the sort; none when null.
  RunMonitor* monitor = nullptr;
  // The input's first line goes to both outputs, unchecked, as their first line.
  bool header = false;
  std::size_t blockSize = kStreamBlockSize;
};

// Streams the input (a file, or standard input when input is empty) and writes the bad and the
// good lines as they are read. The steps, in order: the input is opened; both outputs are made,
// so that an output that cannot be made stops the run before a byte is read; the text's mark
// (and the header line) is read once and both outputs begin with it; the lines are sorted; then
// both outputs are replaced, the bad one first, or neither. Neither is replaced when the input
// cannot be read, at the start or part-way, or was changed meanwhile, when an output cannot be
// written (reading stops at the first write that failed), or when the monitor stops the run.
FileSortResult SortFile(const std::filesystem::path& input, const OutputTarget& okOutput,
                        const OutputTarget& badOutput, const SortSettings& settings);
// The same from an input already open.
FileSortResult SortFile(ByteSource& input, const OutputTarget& okOutput,
                        const OutputTarget& badOutput, const SortSettings& settings);

}  // namespace sipo
