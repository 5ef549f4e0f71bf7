// file_command.cpp - "sipocheck file": its arguments, the run and the report.
#include "cli/file_command.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iostream>
#include <optional>

#include "batch/file_run.h"
#include "cli/interrupt_monitor.h"
#include "cli/progress_line.h"
#include "files/atomic_file.h"
#include "files/interruption.h"

namespace sipo::cli {
namespace {

constexpr std::string_view kStandardInput = "standard input";

// "U+" and the hexadecimal code of a UTF-8 character, which names it in any console.
std::string CodePointName(std::string_view utf8) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  std::uint32_t code = byte(0);
  const std::size_t size = code < 0x80 ? 1 : code < 0xE0 ? 2 : code < 0xF0 ? 3 : 4;
  if (size > 1) code &= 0x3Fu >> (size - 1);
  for (std::size_t i = 1; i < size && i < utf8.size(); ++i) code = (code << 6) | (byte(i) & 0x3F);
  char hex[16];
  const auto end = std::to_chars(hex, hex + sizeof hex, code, 16).ptr;
  std::string name = "U+" + std::string(4 - std::min<std::ptrdiff_t>(4, end - hex), '0');
  for (const char* c = hex; c < end; ++c) name.push_back(static_cast<char>(std::toupper(*c)));
  return name;
}

// The delimiter is a byte of the file's Windows-1250 text, whatever the console's encoding.
char DelimiterByte(const std::string& option, const std::string& value, const Console& console) {
  if (const std::string lacking = console.unmappable(value); !lacking.empty()) {
    throw UsageError{"option '" + option + "': the character '" + console.argShown(lacking) +
                     "' (" + CodePointName(lacking) + ") has no Windows-1250 byte"};
  }
  return SingleByte(option, console.argText(value));
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
};

FileCommand ParseFileCommand(ArgumentReader& reader, const Console& console) {
  FileCommand command;
  bool haveInput = false;
  while (!reader.Done()) {
    const std::string arg = reader.Next();
    const Option option = SplitOption(arg);
    if (option.name == "--ok") {
      command.ok = FileName(option.name, reader.ValueOf(option));
    } else if (option.name == "--bad") {
      command.bad = FileName(option.name, reader.ValueOf(option));
    } else if (option.name == "--column") {
      command.rule.column = ColumnNumber(reader.ValueOf(option));
    } else if (option.name == "--delimiter") {
      command.rule.delimiter = DelimiterByte(option.name, reader.ValueOf(option), console);
    } else if (arg == "--single-column") {
      command.rule.singleColumn = true;
    } else if (arg == "--quoted") {
      command.rule.quoted = true;
    } else if (arg == "--progress" || arg == "--no-progress") {
      command.progress = arg == "--progress" ? ProgressMode::Always : ProgressMode::Never;
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError{"unknown option '" + arg + "'"};
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
  return command;
}

// "standard input", or "the input file 'name'".
std::string Subject(const std::string& name) {
  return name == kStandardInput ? name : "the input file " + name;
}

// Why the outputs were left alone, or nothing when the input was read in full.
std::optional<std::string> InputFailure(InputState state, const std::string& name) {
  const std::string untouched = "; the output files were not touched";
  switch (state) {
    case InputState::Read:
      return std::nullopt;
    case InputState::CannotOpen:
      return "cannot read the input file " + name + untouched;
    case InputState::ReadFailed:
      return "reading the input file " + name + " failed part-way" + untouched;
    case InputState::Changed:
      return "the input file " + name + " changed its size while it was read" + untouched;
    case InputState::Interrupted:
      return "interrupted" + untouched;
    case InputState::Utf32:
      return Subject(name) + " is UTF-32 (its byte-order mark says so), which cannot be read" +
             untouched;
    case InputState::OddLength:
      return Subject(name) + " is UTF-16 with an odd number of bytes, which cannot be read" +
             untouched;
  }
  return std::nullopt;
}

std::string Quoted(std::string_view name) {
  std::string quoted = "'";
  quoted.append(name).push_back('\'');
  return quoted;
}

constexpr char kInterruptedLine[] = "sipocheck: interrupted; the output files were not touched\n";
// The same after blanking a progress line, which the handler cannot know is drawn.
constexpr char kInterruptedAfterProgress[] =
    "\r                                                                               \r"
    "sipocheck: interrupted; the output files were not touched\n";
static_assert(sizeof kInterruptedAfterProgress - sizeof kInterruptedLine ==
              ProgressLine::kWidest + 2);
constexpr char kLateStopLine[] =
    "sipocheck: the stop came while the outputs were being replaced, too late to keep them; "
    "both were replaced\n";

// A folder or a loop of links is refused before anything is read or written.
std::optional<std::string> OutputFailure(const std::string& arg, const Console& console) {
  const auto refusal = OutputRefusal(console.pathOf(arg));
  if (!refusal) return std::nullopt;
  return "the output " + Quoted(console.argShown(arg)) + " " + std::string(*refusal) +
         "; the output files were not touched";
}

}  // namespace

int RunFileCommand(ArgumentReader& reader, std::ostream& err, const Console& console) {
  const FileCommand command = ParseFileCommand(reader, console);
  for (const std::string& output : {command.bad, command.ok}) {
    if (const auto failure = OutputFailure(output, console)) {
      err << "sipocheck: " << *failure << '\n';
      return kExitFailed;
    }
  }
  const bool standardInput = command.input == "-";
  const bool showProgress =
      command.progress == ProgressMode::Always ||
      (command.progress == ProgressMode::OnTerminal && console.errorIsTerminal());
  std::optional<ProgressLine> progress;
  if (showProgress) progress.emplace(err);
  InterruptMonitor monitor(InterruptRequested, console.interruptGrace,
                           progress ? &*progress : nullptr);
  SetInterruptMessage(progress ? kInterruptedAfterProgress : kInterruptedLine);
  const FileSortResult result =
      SortFile(standardInput ? std::filesystem::path() : console.pathOf(command.input),
               console.pathOf(command.ok), console.pathOf(command.bad), command.rule, &monitor);
  SetInterruptMessage(nullptr);
  if (progress) progress->Erase();
  if (result.input == InputState::Interrupted) {
    if (ClaimInterruptReport()) err << kInterruptedLine;
    return kExitInterrupted;
  }
  const std::string inputName =
      standardInput ? std::string(kStandardInput) : Quoted(console.argShown(command.input));
  if (standardInput && result.input == InputState::CannotOpen) {
    err << "sipocheck: standard input is closed; the output files were not touched\n";
    return kExitFailed;
  }
  if (const auto failure = InputFailure(result.input, inputName)) {
    err << "sipocheck: " << *failure << '\n';
    return kExitFailed;
  }
  const SortResult& sorted = result.sorted;
  if (!sorted.badWritten)
    err << "sipocheck: cannot write the bad lines to " << Quoted(console.argShown(command.bad))
        << '\n';
  if (!sorted.okWritten)
    err << "sipocheck: cannot write the good lines to " << Quoted(console.argShown(command.ok))
        << '\n';
  if (sorted.nulLine != 0)
    err << "sipocheck: a NUL character on line " << sorted.nulLine
        << " ended the text; the rest of the input was not checked\n";
  err << "sipocheck: " << sorted.lines << " lines read, " << sorted.good << " good, "
      << sorted.lines - sorted.good << " bad\n";
  if (LateInterrupt()) err << kLateStopLine;
  return sorted.badWritten && sorted.okWritten ? kExitOk : kExitFailed;
}

}  // namespace sipo::cli
