// check_command.cpp - "sipocheck check": its arguments, the texts' classes as CSV, and standard
// input read as it comes, in the encoding its byte-order mark says.
#include "cli/check_command.h"

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/line_stream.h"
#include "batch/text_start.h"
#include "cli/interruption.h"
#include "cli/unicode_text.h"
#include "core/sipo_number.h"
#include "files/input_file.h"

namespace sipo::cli {
namespace {

constexpr std::string_view kCheckHelp =
    "Usage: sipocheck check [OPTION...] [TEXT...]\n"
    "\n"
    "Classifies each TEXT, or each line of standard input when no TEXT is given or a\n"
    "TEXT is '-', and prints \"text\";\"status\" for each, quoted as in CSV (a double\n"
    "quote inside a text is doubled). Standard input is answered line by line as it\n"
    "comes; a UTF-8 or UTF-16 byte-order mark at its start says how it is read.\n"
    "\n"
    "  --decimal-separator C   the decimal separator (default: the locale's)\n"
    "  -h, --help              this help\n"
    "  --                      the end of the options: a TEXT may then begin with '-'\n"
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

// Each line of the text in the mark's units, as the checker takes it: a marked text's lines are
// Unicode, which the console's conversion of an argument turns into the checked text.
StreamEnd CheckLines(TextStart& text, Checker& checker, const Console& console, bool& writing) {
  const auto check = [&](const std::string& line) { writing = writing && checker.Check(line); };
  switch (text.Mark().encoding) {
    case TextEncoding::Bytes:
      return ForEachStreamedLine(text, kStreamBlockSize, [&](std::string_view line, bool) {
        writing = writing && checker.Check(line);
      });
    case TextEncoding::Utf8:
      return ForEachStreamedLine(text, kStreamBlockSize, [&](std::string_view line, bool) {
        check(console.argText(line));
      });
    case TextEncoding::Utf16LE:
      return ForEachStreamedLineIn<Utf16Units<false>>(
          text, kStreamBlockSize, [&](std::string_view line, bool) {
            check(console.argText(Utf16ToUtf8(UnitsOfUtf16(line, false))));
          });
    case TextEncoding::Utf16BE:
      return ForEachStreamedLineIn<Utf16Units<true>>(
          text, kStreamBlockSize, [&](std::string_view line, bool) {
            check(console.argText(Utf16ToUtf8(UnitsOfUtf16(line, true))));
          });
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
  char separator = console.decimalSeparator;
  std::vector<std::string> texts;
  bool optionsEnded = false;
  while (!reader.Done()) {
    std::string arg = reader.Next();
    const Option option = SplitOption(arg);
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      out << kCheckHelp;
      return kExitOk;
    } else if (!optionsEnded && option.name == "--decimal-separator") {
      separator = SingleByte(option.name, reader.ValueOf(option));
    } else if (!optionsEnded && arg.rfind("--", 0) == 0) {
      throw UsageError{"unknown option '" + arg + "'"};
    } else {
      texts.push_back(arg);  // a number such as '-123456782' is a text
    }
  }
  if (texts.empty()) texts.push_back("-");
  Checker checker(out, console, separator);
  for (const std::string& text : texts) {
    if (text == "-") {
      if (!CheckStandardInput(in, out, err, console, checker)) return kExitFailed;
    } else if (!checker.Check(console.argText(text))) {
      break;
    }
    if (!out.good()) break;
  }
  return checker.AllValid() ? kExitOk : kExitFailed;
}

std::string_view CheckCommandHelp() {
  return kCheckHelp;
}

}  // namespace sipo::cli
