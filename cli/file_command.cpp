// file_command.cpp - "sipocheck file": its arguments, the run and the report.
#include "cli/file_command.h"

#include <charconv>
#include <iostream>
#include <optional>
#include <tuple>

#include "batch/file_sort.h"
#include "cli/interrupt_monitor.h"
#include "cli/progress_line.h"
#include "cli/sipocheck.h"
#include "cli/unicode_text.h"
#include "core/codepage1250.h"
#include "files/atomic_file.h"
#include "files/interruption.h"
#include "files/output_target.h"

namespace sipo::cli {
namespace {

constexpr std::string_view kStandardInput = "standard input";
constexpr std::string_view kStandardOutput = "-";

constexpr std::string_view kFileUsage =
    "Usage: sipocheck file [OPTION...] INPUT --ok FILE --bad FILE\n";

constexpr std::string_view kFileHelp =
    "\n"
    "Sorts the lines of INPUT ('-': standard input) into two files, unchanged and in\n"
    "order, each ended by CR LF: a line whose number is ten digits 0-9 that pass the\n"
    "check digit goes to --ok, every other line to --bad. The outputs are replaced\n"
    "only once both are written in full; a device, a pipe or standard output is\n"
    "written as the lines come. A byte-order mark says how INPUT is read (UTF-8, or\n"
    "UTF-16 in 16-bit units); both outputs begin with it. A summary of lines read,\n"
    "good and bad goes to standard error.\n"
    "\n"
    "  --ok FILE         the file for the good lines ('-': standard output)\n"
    "  --bad FILE        the file for every other line ('-': standard output)\n"
    "  --column N        the number is field N, counted from 0 (default 0)\n"
    "  --delimiter C     fields are cut at the character C (default ';')\n"
    "  --single-column   the number is the whole line\n"
    "  --quoted          field N is the N-th text between double quotes\n"
    "  --header          the first line goes unchecked to both outputs, first\n"
    "  --fail-on-bad     end with status 4 when a line went to --bad\n"
    "  --progress        a progress line on standard error, even when not a terminal\n"
    "  --no-progress     no progress line, even on a terminal\n"
    "  -h, --help        this help\n"
    "  --                the end of the options: INPUT may then begin with '-'\n"
    "\n"
    "Examples:\n"
    "  sipocheck file export.csv --ok good.csv --bad bad.csv --column 2 --header\n"
    "  sipocheck file - --ok - --bad rejected.txt --single-column < numbers.txt\n";

// The Windows-1250 byte of the option's one character, which the console gives in its own
// encoding. Bytes that are no text there (a raw byte from a script) are taken as given.
char DelimiterByte(const std::string& option, const std::string& value, const Console& console) {
  const std::string utf8 = console.argUtf8(value);
  const std::optional<std::u16string> units = Utf8ToUtf16(utf8);
  if (!units) return SingleByte(option, value);
  const bool pair = units->size() == 2 && (*units)[0] >= 0xD800 && (*units)[0] < 0xDC00;
  if (units->size() != 1 && !pair)
    throw UsageError{"option '" + option + "' takes exactly one character"};
  const std::string byte = Utf16ToCp1250(*units);
  if (pair || (byte == "?" && *units != u"?")) {
    throw UsageError{"option '" + option + "': the character '" + console.argShown(value) + "' (" +
                     CodePointName(utf8) + ") has no Windows-1250 byte"};
  }
  return byte[0];
}

// A file name that the option was given, never empty: an empty name names no file.
std::string FileName(const std::string& option, const std::string& value) {
  if (value.empty()) throw UsageError{"option '" + option + "' needs a file name, not ''"};
  return value;
}

std::int32_t ColumnNumber(const std::string& value) {
  std::int32_t column = -1;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), column);
  if (error != std::errc{} || end != value.data() + value.size() || column < 0) {
    throw UsageError{"column '" + value + "' is not a number from 0 up"};
  }
  return column;
}

enum class ProgressMode { OnTerminal, Always, Never };

struct FileCommand {
  std::string input, ok, bad;
  LineRule rule;
  ProgressMode progress = ProgressMode::OnTerminal;
  bool header = false;
  bool failOnBad = false;
  bool help = false;
};

// One option; false when the argument is none.
bool ReadOption(const std::string& arg, ArgumentReader& reader, const Console& console,
                FileCommand& command) {
  static constexpr std::string_view kOptions[] = {
      "--ok",     "--bad",      "--column",      "--delimiter", "--single-column", "--quoted",
      "--header", "--progress", "--no-progress", "--help",      "--fail-on-bad"};
  static constexpr std::string_view kTakingValues[] = {"--ok", "--bad", "--column", "--delimiter"};
  if (arg == "-h") {
    command.help = true;
    return true;
  }
  if (arg.rfind("--", 0) != 0) {
    if (arg.size() > 1 && arg[0] == '-') throw UsageError{"unknown option '" + arg + "'"};
    return false;
  }
  const Option option = LongOption(arg, kOptions, kTakingValues);
  const std::string& name = option.name;
  if (name == "--ok") {
    command.ok = FileName(name, reader.ValueOf(option));
  } else if (name == "--bad") {
    command.bad = FileName(name, reader.ValueOf(option));
  } else if (name == "--column") {
    command.rule.column = ColumnNumber(reader.ValueOf(option));
  } else if (name == "--delimiter") {
    command.rule.delimiter = DelimiterByte(name, reader.ValueOf(option), console);
  } else if (name == "--single-column") {
    command.rule.singleColumn = true;
  } else if (name == "--quoted") {
    command.rule.quoted = true;
  } else if (name == "--header") {
    command.header = true;
  } else if (name == "--fail-on-bad") {
    command.failOnBad = true;
  } else if (name == "--progress" || name == "--no-progress") {
    command.progress = name == "--progress" ? ProgressMode::Always : ProgressMode::Never;
  } else {
    command.help = true;
  }
  return true;
}

FileCommand ParseFileCommand(ArgumentReader& reader, const Console& console) {
  FileCommand command;
  bool haveInput = false;
  bool optionsEnded = false;
  while (!reader.Done()) {
    const std::string arg = reader.Next();
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && ReadOption(arg, reader, console, command)) {
      if (command.help) return command;
    } else if (arg.empty()) {
      // Only '-' is standard input: an empty name from a script's unset variable must not
      // replace both outputs with nothing.
      throw UsageError{"the input file name is empty (use '-' for standard input)"};
    } else if (!haveInput) {
      command.input = arg;
      haveInput = true;
    } else {
      throw UsageError{"more than one input file ('" + arg + "')"};
    }
  }
  if (!haveInput) throw UsageError{"no input file"};
  if (command.ok.empty() || command.bad.empty()) throw UsageError{"both --ok and --bad are needed"};
  if (command.ok == kStandardOutput && command.bad == kStandardOutput)
    throw UsageError{"only one of --ok and --bad can be '-' (standard output)"};
  return command;
}

std::string Quoted(std::string_view name) {
  std::string quoted = "'";
  quoted.append(name).push_back('\'');
  return quoted;
}

// "size", "modification time" or both.
std::string WhatChanged(const InputChange& change) {
  if (change.size && change.time) return "size and modification time";
  return change.time ? "modification time" : "size";
}

struct Outputs {
  OutputTarget ok, bad;
};

OutputTarget TargetNamed(const std::string& arg, const Console& console) {
  return arg == kStandardOutput ? StandardOutputTarget() : TargetOf(console.pathOf(arg));
}

// What the run reports: the names as the user gave them, the reasons as the system words them.
class Report {
 public:
  Report(const FileCommand& command, const Console& console, std::ostream& err)
      : command_(command), console_(console), err_(err) {}

  void Line(const std::string& text) { err_ << "sipocheck: " << text << '\n'; }
  std::string Shown(const std::string& arg) const {
    return arg == kStandardOutput ? std::string("standard output") : Quoted(console_.argShown(arg));
  }
  std::string Reason(const std::error_code& error) const { return console_.reasonText(error); }
  std::string InputName() const {
    return command_.input == "-" ? std::string(kStandardInput) : Shown(command_.input);
  }

  // The outputs that no run had sent a byte: files, which it replaces only at its end.
  std::string Untouched(const FileSortResult& result) const {
    const bool badFile = !result.bad.inPlace, okFile = !result.ok.inPlace;
    if (badFile && okFile) return "; the output files were not touched";
    if (badFile) return "; the output file " + Shown(command_.bad) + " was not touched";
    if (okFile) return "; the output file " + Shown(command_.ok) + " was not touched";
    return {};
  }

  // Why the outputs were left alone, or nothing when the input was read in full.
  std::optional<std::string> InputFailure(const FileSortResult& result) const {
    const std::string name = InputName();
    const std::string reason = result.inputError ? ": " + Reason(result.inputError) : "";
    const std::string subject = command_.input == "-" ? name : "the input file " + name;
    switch (result.input) {
      case InputState::Read:
      case InputState::Interrupted:
      case InputState::NotStarted:
      case InputState::WriteFailed:
        return std::nullopt;
      case InputState::CannotOpen:
        if (command_.input == "-") return "standard input is closed" + Untouched(result);
        return "cannot read the input file " + name + reason + Untouched(result);
      case InputState::ReadFailed:
        return "reading " + subject + " failed part-way" + reason + Untouched(result);
      case InputState::Changed:
        return subject + " changed its " + WhatChanged(result.inputChange) + " while it was read" +
               Untouched(result);
      case InputState::Utf32:
        return subject + " is UTF-32 (its byte-order mark says so), which cannot be read" +
               Untouched(result);
      case InputState::OddLength:
        return subject + " is UTF-16 with an odd number of bytes, which cannot be read" +
               Untouched(result);
      case InputState::Workbook:
        return subject + " is a spreadsheet workbook, not text; save it as CSV and check that" +
               Untouched(result);
    }
    return std::nullopt;
  }

  // Each output that failed, with the system's reason; true when one did.
  bool ReportOutputFailures(const FileSortResult& result, std::string_view verb) {
    bool failed = false;
    const auto report = [&](const OutputOutcome& outcome, const char* lines,
                            const std::string& arg) {
      if (!outcome.error) return;
      failed = true;
      Line(std::string(verb) + " " + Shown(arg) + " for the " + lines +
           " lines: " + Reason(outcome.error));
    };
    report(result.bad, "bad", command_.bad);
    report(result.ok, "good", command_.ok);
    return failed;
  }

 private:
  const FileCommand& command_;
  const Console& console_;
  std::ostream& err_;
};

// What a stop leaves: a file output is replaced only at the run's end, so it is as it was; an
// output written in place (standard output, a FIFO, a device) has had the lines sorted before
// the stop, up to its last write (it is written in blocks, so these may be none yet).
std::string InterruptedLine(const FileCommand& command, const Outputs& outputs,
                            const Report& report) {
  const bool okInPlace = outputs.ok.kind != OutputTarget::Kind::File;
  const bool badInPlace = outputs.bad.kind != OutputTarget::Kind::File;
  std::string line = "sipocheck: interrupted";
  if (!okInPlace && !badInPlace) return line + "; the output files were not touched\n";
  if (okInPlace && badInPlace) {
    return line + "; " + report.Shown(command.ok) + " and " + report.Shown(command.bad) +
           " may already have received some of the lines\n";
  }
  const std::string& file = okInPlace ? command.bad : command.ok;
  const std::string& inPlace = okInPlace ? command.ok : command.bad;
  return line + "; the output file " + report.Shown(file) + " was not touched; " +
         report.Shown(inPlace) + " may already have received some of the " +
         (okInPlace ? "good" : "bad") + " lines\n";
}

// The line that a stop writes, plain and after blanking a progress line (which the handler
// cannot know is drawn), kept until the process ends so that the handler can reach it whenever
// the stop comes.
struct StopLines {
  std::string plain, overProgress;
};
const StopLines& KeepStopLines(std::string line) {
  static StopLines lines;
  SetInterruptMessage(kInterruptedBeforeRun);  // while the kept lines change
  lines.overProgress = "\r" + std::string(ProgressLine::kWidest, ' ') + "\r" + line;
  lines.plain = std::move(line);
  return lines;
}

// SIGPIPE: a reader of standard output (or of a FIFO output) went away, as "head" does.
constexpr char kPipeClosedLine[] =
    "sipocheck: standard output (or an output pipe) was closed by its reader; the output files "
    "were not touched\n";
constexpr char kPipeClosedAfterProgress[] =
    "\r                                                                               \r"
    "sipocheck: standard output (or an output pipe) was closed by its reader; the output files "
    "were not touched\n";

constexpr char kLateStopLine[] =
    "sipocheck: the stop came while the outputs were being replaced, too late to keep them; "
    "both were replaced\n";

// "1 line", "2 lines".
std::string Lines(std::uint64_t count) {
  return std::to_string(count) + (count == 1 ? " line" : " lines");
}

// The statuses a script acts on: a run that left part of its input unchecked is no success.
// With failOnBad, a complete run that sent a line to the bad output has a status of its own.
int Summarise(const FileSortResult& result, Report& report, bool failOnBad) {
  const SortResult& sorted = result.sorted;
  const bool outputsFailed = report.ReportOutputFailures(result, "cannot write");
  if (outputsFailed && !sorted.badWritten && !sorted.okWritten)
    report.Line("no output file was replaced");
  if (sorted.nulLine != 0) {
    report.Line("a NUL character on line " + std::to_string(sorted.nulLine) +
                " ended the text; the rest of the input was not checked");
  }
  const std::string header = result.headerCopied ? "the header line copied to both outputs; " : "";
  report.Line(header + Lines(sorted.lines) + " read, " + std::to_string(sorted.good) + " good, " +
              std::to_string(sorted.lines - sorted.good) + " bad");
  if (sorted.missingColumn >= 0) {
    report.Line("no line had column " + std::to_string(sorted.missingColumn) +
                " (columns are counted from 0)");
  }
  if (outputsFailed || !sorted.badWritten || !sorted.okWritten) return kExitFailed;
  if (sorted.nulLine != 0) return kExitIncomplete;
  return failOnBad && sorted.good < sorted.lines ? kExitBadLines : kExitOk;
}

// A folder or a loop of links is refused before anything is read or written, and so are two
// outputs that reach one file and an output written in place on the input's own file.
std::optional<int> RefuseOutputs(const FileCommand& command, const Outputs& outputs,
                                 const std::filesystem::path& input, Report& report) {
  for (const auto& [arg, target] :
       {std::pair{&command.bad, &outputs.bad}, std::pair{&command.ok, &outputs.ok}}) {
    if (const std::optional<Refusal> refusal = RefusalOf(*target)) {
      report.Line("the output " + report.Shown(*arg) + " " + std::string(refusal->why) +
                  "; the output files were not touched");
      return kExitFailed;
    }
  }
  if (SameFile(outputs.ok, outputs.bad)) {
    throw UsageError{"--ok " + report.Shown(command.ok) + " and --bad " +
                     report.Shown(command.bad) +
                     " are one file; the good and the bad lines need two different files"};
  }
  for (const auto& [option, arg, target] :
       {std::tuple{"--ok ", &command.ok, &outputs.ok}, {"--bad ", &command.bad, &outputs.bad}}) {
    if (WritesIntoInput(*target, input)) {
      const std::string read = command.input == "-" ? "" : "the input file ";
      throw UsageError{option + report.Shown(*arg) + " is the same file as " + read +
                       report.InputName() + "; the run would read back the lines it writes"};
    }
  }
  return std::nullopt;
}

}  // namespace

int RunFileCommand(ArgumentReader& reader, std::ostream& out, std::ostream& err,
                   const Console& console) {
  const FileCommand command = ParseFileCommand(reader, console);
  if (command.help) {
    out << kFileUsage << kFileHelp << '\n' << BugReportLine();
    return kExitOk;
  }
  Report report(command, console, err);
  const Outputs outputs{TargetNamed(command.ok, console), TargetNamed(command.bad, console)};
  const bool standardInput = command.input == "-";
  const std::filesystem::path input =
      standardInput ? std::filesystem::path() : console.pathOf(command.input);
  if (const auto refused = RefuseOutputs(command, outputs, input, report)) return *refused;
  const bool showProgress =
      command.progress == ProgressMode::Always ||
      (command.progress == ProgressMode::OnTerminal && console.errorIsTerminal());
  std::optional<ProgressLine> progress;
  if (showProgress) progress.emplace(err);
  InterruptMonitor monitor(InterruptRequested, console.interruptGrace,
                           progress ? &*progress : nullptr);
  const StopLines& stop = KeepStopLines(InterruptedLine(command, outputs, report));
  SetInterruptMessage(progress ? stop.overProgress.c_str() : stop.plain.c_str());
  SetPipeClosedMessage(progress ? kPipeClosedAfterProgress : kPipeClosedLine);
  const FileSortResult result =
      SortFile(input, outputs.ok, outputs.bad, {command.rule, &monitor, command.header});
  SetPipeClosedMessage(nullptr);
  if (progress) progress->Erase();
  SetInterruptMessage(stop.plain.c_str());
  if (result.input == InputState::Interrupted) {
    if (ClaimInterruptReport()) err << stop.plain;
    return kExitInterrupted;
  }
  if (result.input == InputState::NotStarted) {
    report.ReportOutputFailures(result, "cannot create");
    report.Line("nothing was read" + report.Untouched(result));
    return kExitFailed;
  }
  // A full disk is found at its first failed write: nothing more of the input is read.
  if (result.input == InputState::WriteFailed) {
    report.ReportOutputFailures(result, "cannot write");
    report.Line("the run stopped at the failed write after " + Lines(result.sorted.lines) +
                "; the rest of the input was not read" + report.Untouched(result));
    return kExitFailed;
  }
  if (const auto failure = report.InputFailure(result)) {
    report.Line(*failure);
    return kExitFailed;
  }
  const int status = Summarise(result, report, command.failOnBad);
  if (LateInterrupt()) err << kLateStopLine;
  return status;
}

std::string_view FileCommandUsage() {
  return kFileUsage;
}

std::string FileCommandHelp() {
  return std::string(kFileUsage).append(kFileHelp);
}

}  // namespace sipo::cli
