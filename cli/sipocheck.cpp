// sipocheck.cpp - the command-line program's entry: the usage and help, the command chosen by the
// first argument, and the failures that any command can end in.
#include "cli/sipocheck.h"

#include <cerrno>
#include <iostream>
#include <new>
#include <system_error>

#include "cli/arguments.h"
#include "cli/check_command.h"
#include "cli/file_command.h"
#include "cli/scan_path.h"
#include "resources/version.h"

namespace sipo::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: sipocheck file [OPTION...] INPUT --ok FILE --bad FILE\n"
    "       sipocheck check [OPTION...] [TEXT...]\n"
    "       sipocheck --help | --version\n";

constexpr std::string_view kIntroduction =
    "Checks numbers of the Czech Post's SIPO scheme: ten digits, the tenth a check\n"
    "digit over the first nine. 'sipocheck file --help' and 'sipocheck check --help'\n"
    "show one command's help alone.\n";

constexpr std::string_view kStatuses =
    "Exit status:\n"
    "  0    success (check: every text valid)\n"
    "  1    a file could not be read, made or written, a text is not valid, writing\n"
    "       to standard output or error failed, or memory ran out\n"
    "  2    a usage error, the same file given for --ok and --bad included\n"
    "  3    the outputs were written, but part of the input was not checked: a NUL\n"
    "       ended its text\n"
    "  130  interrupted (Ctrl-C, or a signal that ends the run); the output files\n"
    "       were not touched\n";

int RunCommand(ArgumentReader& reader, std::istream& in, std::ostream& out, std::ostream& err,
               const Console& console) {
  if (reader.Done()) throw UsageError{"no command given"};
  const std::string command = reader.Next();
  if (command == "--help" || command == "-h") {
    out << kUsage << '\n'
        << kIntroduction << '\n'
        << FileCommandHelp() << '\n'
        << CheckCommandHelp() << '\n'
        << kStatuses << '\n'
        << "  --version         the program's version\n";
    return kExitOk;
  }
  // A line loop forced that this processor cannot run is refused, not replaced.
  if (const auto refusal = ScanPathRefusal()) {
    err << "sipocheck: " << *refusal << '\n';
    return kExitUsage;
  }
  if (command == "--version") {
    out << "sipocheck " << SIPO_VERSION_TEXT << '\n' << ScanPathLine() << '\n';
    return kExitOk;
  }
  if (command == "file") return RunFileCommand(reader, out, err, console);
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
  errno = 0;  // the reason a write to standard output fails is left here
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
    const int cause = errno;
    err << "sipocheck: cannot write to standard output";
    if (cause != 0) err << ": " << console.reasonText({cause, std::generic_category()});
    err << '\n';
    status = kExitFailed;
  }
  if (!err.flush()) status = kExitFailed;
  return status;
}

}  // namespace sipo::cli
