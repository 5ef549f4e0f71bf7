// sipocheck.cpp - the command-line file check and number check.
#include "cli/sipocheck.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iostream>
#include <new>
#include <optional>

#include "batch/file_run.h"
#include "batch/line_stream.h"
#include "cli/interrupt_monitor.h"
#include "cli/progress_line.h"
#include "core/sipo_number.h"
#include "files/atomic_file.h"
#include "files/input_file.h"
#include "files/temporary_files.h"
#include "resources/version.h"

namespace sipo::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: sipocheck file INPUT --ok FILE --bad FILE [--column N] [--delimiter C]\n"
    "                      [--single-column] [--quoted] [--progress | --no-progress]\n"
    "       sipocheck check [--decimal-separator C] [TEXT...]\n"
    "       sipocheck --help | --version\n";

constexpr std::string_view kHelp =
    "Checks numbers of the Czech Post's SIPO scheme: ten digits, the tenth a check digit.\n"
    "\n"
    "file     Sorts the lines of INPUT ('-' for standard input): lines whose number passes the "
    "check go to the --ok file,\n"
    "         all other lines to the --bad file, unchanged and in order, each ended by CR LF.\n"
    "         The number is the whole line (--single-column), the field at --column N (from 0)\n"
    "         cut at --delimiter C (default ';'), or with --quoted the N-th text between double\n"
    "         quotes. An output is replaced only once it is written in full; a device or a FIFO\n"
    "         (such as /dev/null or NUL) is written in place, and a FIFO waits for its reader.\n"
    "         A summary of lines read, good and bad goes to standard error.\n"
    "         An input that begins with a byte-order mark is read as it says: UTF-8 as bytes,\n"
    "         UTF-16 (either byte order) as 16-bit units; both outputs begin with the same mark.\n"
    "         UTF-32, and UTF-16 of an odd length, are refused. A NUL ends the text; one that\n"
    "         cut the input short is reported with its line.\n"
    "         When standard error is a terminal, a run that lasts over a second shows one\n"
    "         progress line there; --progress shows it anywhere, --no-progress never.\n"
    "check    Classifies each TEXT, or each line of standard input when no TEXT is given (from\n"
    "         a terminal or a pipe, each line is answered as soon as it is read), and prints\n"
    "         \"text\";\"status\" for each, quoted as in CSV (a double quote inside a text is\n"
    "         doubled). The decimal separator is the locale's unless --decimal-separator\n"
    "         gives one.\n"
    "\n"
    "Exit status: 0 on success (for check: every text valid), 1 when the check failed or a file\n"
    "could not be read or written, or memory ran out, 2 on a usage error, 130 when Ctrl-C (or\n"
    "Ctrl-Break, or a signal that ends the run) interrupted it, the outputs then untouched.\n";

constexpr std::string_view kStandardInput = "standard input";

struct UsageError {
  std::string message;
};

// An argument as a long option: "--name=value" gives both parts, anything else only a name.
struct Option {
  std::string name;
  std::optional<std::string> value;
};

Option SplitOption(const std::string& arg) {
  const std::size_t equals = arg.find('=');
  if (arg.rfind("--", 0) != 0 || equals == std::string::npos) return {arg, std::nullopt};
  return {arg.substr(0, equals), arg.substr(equals + 1)};
}

class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}
  bool Done() const { return next_ >= args_.size(); }
  std::string Next() { return args_[next_++]; }
  // The option's value, given after '=' or as the next argument.
  std::string ValueOf(const Option& option) {
    if (option.value) return *option.value;
    if (Done()) throw UsageError{"option '" + option.name + "' needs a value"};
    return Next();
  }

 private:
  const std::vector<std::string>& args_;
  std::size_t next_ = 0;
};

char SingleByte(const std::string& option, const std::string& value) {
  if (value.size() != 1) throw UsageError{"option '" + option + "' takes exactly one character"};
  return value[0];
}

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

// A folder or a loop of links is refused before anything is read or written.
std::optional<std::string> OutputFailure(const std::string& arg, const Console& console) {
  const auto refusal = OutputRefusal(console.pathOf(arg));
  if (!refusal) return std::nullopt;
  return "the output " + Quoted(console.argShown(arg)) + " " + std::string(*refusal) +
         "; the output files were not touched";
}

int RunFile(ArgumentReader& reader, std::ostream& err, const Console& console) {
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
  SetInterruptMessage(kInterruptedLine);
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
  return sorted.badWritten && sorted.okWritten ? kExitOk : kExitFailed;
}

// A text as a CSV field: in double quotes, each double quote inside doubled.
std::string CsvField(std::string_view text) {
  std::string field = "\"";
  for (const char c : text) {
    if (c == '"') field.push_back('"');
    field.push_back(c);
  }
  field.push_back('"');
  return field;
}

// Standard input read block by block, so that a pipe is checked as it comes.
class StreamSource : public ByteSource {
 public:
  explicit StreamSource(std::istream& in) : in_(in) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    in_.read(buffer, static_cast<std::streamsize>(size));
    if (in_.bad()) return -1;
    return static_cast<std::ptrdiff_t>(in_.gcount());
  }

 private:
  std::istream& in_;
};

// The input of "check" as the checker takes it. From a terminal or a pipe, every line read is
// answered at once: the answers so far are flushed before each wait for more. A regular file is
// read in whole blocks. Reading ends at the first answer that standard output did not take, and
// at an interruption.
class CheckInput : public ByteSource {
 public:
  CheckInput(ByteSource& input, bool interactive, std::ostream& out, const bool& writing)
      : input_(input), interactive_(interactive), out_(out), writing_(writing) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    if (!writing_ || (interactive_ && !out_.flush())) return 0;
    const std::ptrdiff_t count = input_.Read(buffer, size);
    return count < 0 && InterruptRequested() ? 0 : count;
  }

 private:
  ByteSource& input_;
  bool interactive_;
  std::ostream& out_;
  const bool& writing_;
};

class Checker {
 public:
  Checker(std::ostream& out, const Console& console, char separator)
      : out_(out), console_(console), separator_(separator) {}

  // False once standard output no longer takes the records.
  bool Check(std::string_view text) {
    const StatusClass status = ClassifyNumberText(text, separator_);
    allValid_ = allValid_ && status == StatusClass::Valid;
    out_ << CsvField(console_.inputText(text)) << ';'
         << CsvField(console_.statusText(StatusText(status))) << '\n';
    return out_.good();
  }
  bool AllValid() const { return allValid_; }

 private:
  std::ostream& out_;
  const Console& console_;
  char separator_;
  bool allValid_ = true;
};

int RunCheck(ArgumentReader& reader, std::istream& in, std::ostream& out, std::ostream& err,
             const Console& console) {
  char separator = console.decimalSeparator;
  std::vector<std::string> texts;
  bool optionsEnded = false;
  while (!reader.Done()) {
    std::string arg = reader.Next();
    const Option option = SplitOption(arg);
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && option.name == "--decimal-separator") {
      separator = SingleByte(option.name, reader.ValueOf(option));
    } else if (!optionsEnded && arg.rfind("--", 0) == 0) {
      throw UsageError{"unknown option '" + arg + "'"};
    } else {
      texts.push_back(console.argText(arg));  // a number such as '-123456782' is a text
    }
  }
  Checker checker(out, console, separator);
  if (!texts.empty()) {
    for (const std::string& text : texts) {
      if (!checker.Check(text)) break;
    }
  } else {
    StreamSource stream(in);
    InputFile file;
    if (console.readsProcessInput && !file.OpenStandardInput()) {
      err << "sipocheck: standard input is closed\n";
      return kExitFailed;
    }
    ByteSource& input = console.readsProcessInput ? static_cast<ByteSource&>(file) : stream;
    bool writing = true;
    CheckInput source(input, console.readsProcessInput && file.SizeAtOpen() < 0, out, writing);
    const StreamEnd end = ForEachStreamedLine(
        source, kStreamBlockSize,
        [&](std::string_view line, bool) { writing = writing && checker.Check(line); });
    if (end == StreamEnd::ReadFailed) {
      err << "sipocheck: reading standard input failed\n";
      return kExitFailed;
    }
  }
  return checker.AllValid() ? kExitOk : kExitFailed;
}

int RunCommand(ArgumentReader& reader, std::istream& in, std::ostream& out, std::ostream& err,
               const Console& console) {
  if (reader.Done()) throw UsageError{"no command given"};
  const std::string command = reader.Next();
  if (command == "--help" || command == "-h") {
    out << kUsage << '\n' << kHelp;
    return kExitOk;
  }
  if (command == "--version") {
    out << "sipocheck " << SIPO_VERSION_TEXT << '\n';
    return kExitOk;
  }
  if (command == "file") return RunFile(reader, err, console);
  if (command == "check") return RunCheck(reader, in, out, err, console);
  throw UsageError{"unknown command '" + command + "'"};
}

}  // namespace

std::filesystem::path PathAsGiven(std::string_view arg) {
  return std::filesystem::path(std::string(arg));
}

std::string TextAsGiven(std::string_view arg) {
  return std::string(arg);
}

std::string NothingUnmappable(std::string_view) {
  return {};
}

// A script must be able to tell a complete result from a cut one: output that could not be
// written, and memory that ran out, end in a message and a failure status.
int RunSipocheck(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err, const Console& console) {
  ArgumentReader reader(args);
  int status = kExitFailed;
  try {
    status = RunCommand(reader, in, out, err, console);
  } catch (const UsageError& error) {
    err << "sipocheck: " << error.message << '\n' << kUsage << "Try 'sipocheck --help'.\n";
    status = kExitUsage;
  } catch (const std::bad_alloc&) {
    err << "sipocheck: out of memory\n";
    status = kExitFailed;
  }
  if (!out.flush()) {
    err << "sipocheck: cannot write to standard output\n";
    status = kExitFailed;
  }
  if (!err.flush()) status = kExitFailed;
  return status;
}

}  // namespace sipo::cli
