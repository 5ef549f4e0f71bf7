// check_command.cpp - "sipocheck check": its arguments, the texts' classes as CSV, and standard
// input read as it comes.
#include "cli/check_command.h"

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/line_stream.h"
#include "core/sipo_number.h"
#include "files/input_file.h"
#include "files/interruption.h"

namespace sipo::cli {
namespace {

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

}  // namespace sipo::cli
