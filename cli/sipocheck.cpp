// sipocheck.cpp - the command-line program's entry: the usage and help, the command chosen by the
// first argument, and the failures that any command can end in.
#include "cli/sipocheck.h"

#include <iostream>
#include <new>

#include "cli/arguments.h"
#include "cli/check_command.h"
#include "cli/file_command.h"
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
  if (command == "file") return RunFileCommand(reader, err, console);
  if (command == "check") return RunCheckCommand(reader, in, out, err, console);
  throw UsageError{"unknown command '" + command + "'"};
}

}  // namespace

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
