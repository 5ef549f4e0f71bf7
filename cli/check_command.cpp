// check_command.cpp - "sipocheck check": its arguments, the texts' classes as CSV, and standard
// input read as it comes, in the encoding its byte-order mark says.
#include "cli/check_command.h"

#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/line_stream.h"
#include "batch/text_start.h"
#include "cli/sipocheck.h"
#include "cli/unicode_text.h"
#include "core/codepage1250.h"
#include "core/sipo_number.h"
#include "files/input_file.h"
#include "files/interruption.h"

namespace sipo::cli {
namespace {

constexpr std::string_view kCheckUsage = "Usage: sipocheck check [OPTION...] [TEXT...]\n";

// The status texts' part of the help is written apart: they reach the console in its encoding.
constexpr std::string_view kCheckHelp =
    "\n"
    "Classifies each TEXT, or each line of standard input when no TEXT is given or a\n"
    "TEXT is '-', and prints \"text\";\"status\" for each, quoted as in CSV (a double\n"
    "quote inside a text is doubled). Standard input is answered line by line as it\n"
    "comes; a UTF-8 or UTF-16 byte-order mark at its start says how it is read, and\n"
    "without one it is Windows-1250. Texts and statuses are written in the locale's\n"
    "encoding (on Windows the console's code page).\n"
    "\n"
    "  --decimal-separator C   the decimal separator (default: the locale's)\n"
    "  -h, --help              this help\n"
    "  --                      the end of the options: a TEXT may then begin with '-'\n"
    "\n"
    "The statuses, in the order they are tested:\n";

// Each class with what gives it, in the order the classification tests them.
constexpr std::pair<StatusClass, std::string_view> kStatusMeanings[] = {
    {StatusClass::Empty, "empty, or nothing but blanks and control characters"},
    {StatusClass::NotANumber, "no number at its start, or a number equal to zero"},
    {StatusClass::Incomplete, "a number of fewer than ten characters"},
    {StatusClass::Valid, "ten digits 0-9 that pass the check digit"},
    {StatusClass::Invalid, "any other number of ten or more characters"},
};

// Where the meanings start, past the longest status text and its quotes.
constexpr std::size_t kStatusColumn = 18;

constexpr std::string_view kCheckExamples =
    "\n"
    "Examples:\n"
    "  sipocheck check 1234567897 9876543213\n"
    "  cut -d ';' -f 2 export.csv | sipocheck check\n";

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

  // The Windows-1250 text checked, and as its answer shows it; false once standard output no
  // longer takes the answers.
  bool Check(std::string_view text, std::string_view shown) {
    const StatusClass status = ClassifyNumberText(text, separator_);
    allValid_ = allValid_ && status == StatusClass::Valid;
    out_ << CsvField(shown) << ';' << CsvField(console_.statusText(StatusText(status))) << '\n';
    return out_.good();
  }
  bool AllValid() const { return allValid_; }

 private:
  std::ostream& out_;
  const Console& console_;
  char separator_;
  bool allValid_ = true;
};

// A Unicode text as the Windows-1250 text that is checked; bytes that are no UTF-8 are checked
// as they are.
std::string Cp1250OfUtf8(std::string_view utf8) {
  const std::optional<std::u16string> units = Utf8ToUtf16(utf8);
  return units ? Utf16ToCp1250(*units) : std::string(utf8);
}

// Each line of the text in the mark's units, as the checker takes it. An unmarked line is
// Windows-1250; a marked text's lines are Unicode, checked as Windows-1250 (as the program takes
// every text) and shown with all their characters.
StreamEnd CheckLines(TextStart& text, Checker& checker, const Console& console, bool& writing) {
  const auto check = [&](const std::string& utf8) {
    writing = writing && checker.Check(Cp1250OfUtf8(utf8), console.unicodeText(utf8));
  };
  switch (text.Mark().encoding) {
    case TextEncoding::Bytes:
      return ForEachStreamedLine(text, kStreamBlockSize, [&](std::string_view line, bool) {
        writing = writing && checker.Check(line, console.inputText(line));
      });
    case TextEncoding::Utf8:
      return ForEachStreamedLine(text, kStreamBlockSize,
                                 [&](std::string_view line, bool) { check(std::string(line)); });
    case TextEncoding::Utf16LE:
      return ForEachStreamedLineIn<Utf16Units<false>>(
          text, kStreamBlockSize,
          [&](std::string_view line, bool) { check(Utf16ToUtf8(UnitsOfUtf16(line, false))); });
    case TextEncoding::Utf16BE:
      return ForEachStreamedLineIn<Utf16Units<true>>(
          text, kStreamBlockSize,
          [&](std::string_view line, bool) { check(Utf16ToUtf8(UnitsOfUtf16(line, true))); });
    case TextEncoding::Utf32:
      break;
  }
  return StreamEnd::Utf32Mark;
}

// Every line of standard input; false, with a message, when it could not be read.
bool CheckStandardInput(std::istream& in, std::ostream& out, std::ostream& err,
                        const Console& console, Checker& checker) {
  StreamSource stream(in);
  InputFile file;
  if (console.readsProcessInput && !file.OpenStandardInput()) {
    err << "sipocheck: standard input is closed\n";
    return false;
  }
  ByteSource& input = console.readsProcessInput ? static_cast<ByteSource&>(file) : stream;
  bool writing = true;
  CheckInput source(input, console.readsProcessInput && file.SizeAtOpen() < 0, out, writing);
  // Only as much is read as decides the mark: a terminal's first short line is answered without
  // waiting for more.
  TextStart text(source, kStreamBlockSize);
  const StreamEnd end =
      text.ReadMark() ? CheckLines(text, checker, console, writing) : StreamEnd::ReadFailed;
  switch (end) {
    case StreamEnd::Complete:
    case StreamEnd::Interrupted:
      return true;
    case StreamEnd::ReadFailed:
      err << "sipocheck: reading standard input failed";
      if (file.Error()) err << ": " << console.reasonText(file.Error());
      err << '\n';
      return false;
    case StreamEnd::OddLength:
      err << "sipocheck: standard input is UTF-16 with an odd number of bytes; its last byte "
             "was not checked\n";
      return false;
    case StreamEnd::Utf32Mark:
      err << "sipocheck: standard input is UTF-32 (its byte-order mark says so), which cannot "
             "be read\n";
      return false;
  }
  return false;
}

}  // namespace

int RunCheckCommand(ArgumentReader& reader, std::istream& in, std::ostream& out, std::ostream& err,
                    const Console& console) {
  static constexpr std::string_view kOptions[] = {"--decimal-separator", "--help"};
  static constexpr std::string_view kTakingValues[] = {"--decimal-separator"};
  // Check makes no file: a stop, or a reader of its answers that went away (head -1), ends it as
  // the signal does, with no line that would only repeat what the shell shows.
  SetInterruptMessage(nullptr);
  char separator = console.decimalSeparator;
  std::vector<std::string> texts;
  bool optionsEnded = false;
  while (!reader.Done()) {
    const std::string arg = reader.Next();
    if (optionsEnded || (arg.rfind("--", 0) != 0 && arg != "-h")) {
      texts.push_back(arg);  // a number such as '-123456782' is a text
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (const Option option =
                   arg == "-h" ? Option{"--help", {}} : LongOption(arg, kOptions, kTakingValues);
               option.name == "--help") {
      out << CheckCommandHelp(console) << '\n' << BugReportLine();
      return kExitOk;
    } else {
      separator = SingleByte(option.name, reader.ValueOf(option));
    }
  }
  if (texts.empty()) texts.push_back("-");
  Checker checker(out, console, separator);
  for (const std::string& text : texts) {
    if (text == "-") {
      if (!CheckStandardInput(in, out, err, console, checker)) return kExitCannotCheck;
    } else if (!checker.Check(console.argText(text), console.argTextShown(text))) {
      break;
    }
    if (!out.good()) break;
  }
  return checker.AllValid() ? kExitOk : kExitNotValid;
}

std::string_view CheckCommandUsage() {
  return kCheckUsage;
}

std::string CheckCommandHelp(const Console& console) {
  std::string help = std::string(kCheckUsage) + std::string(kCheckHelp);
  for (const auto& [status, meaning] : kStatusMeanings) {
    const std::string_view text = StatusText(status);
    help += "  \"" + console.statusText(text) + '"';
    help.append(kStatusColumn - std::min(kStatusColumn, text.size()), ' ');
    help.append(meaning).push_back('\n');
  }
  return help.append(kCheckExamples);
}

}  // namespace sipo::cli
