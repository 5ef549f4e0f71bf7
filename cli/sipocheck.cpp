// sipocheck.cpp - the command-line program's entry: the usage and help, the version, the command
// chosen by the first argument, and the failures that any command can end in.
#include "cli/sipocheck.h"

#include <cerrno>
#include <iostream>
#include <new>
#include <system_error>

#include "cli/arguments.h"
#include "cli/check_command.h"
#include "cli/file_command.h"
#include "cli/scan_path.h"
#include "program/maker.h"
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
    "show one command's help alone.\n"
    "\n"
    "  -h, --help        this help\n"
    "  --version         the program's version, copyright and licence\n";

constexpr std::string_view kStatuses =
    "Exit status:\n"
    "  0    success (check: every text valid)\n"
    "  1    file: a file could not be read, made or written, writing to standard\n"
    "       output or error failed, or memory ran out; check: a text is not valid\n"
    "  2    a usage error, the same file given for --ok and --bad included\n"
    "  3    file: the outputs were written, but part of the input was not checked:\n"
    "       a NUL ended its text\n"
    "  4    file --fail-on-bad: the outputs were written, and a line went to --bad\n"
    "  5    check: standard input could not be read, standard output or error could\n"
    "       not be written, or memory ran out\n"
    "  130  interrupted (Ctrl-C, or a signal that ends the run); the output files\n"
    "       were not touched\n"
    "  141  file: standard output (or an output pipe) was closed by its reader, as\n"
    "       'head' does (SIGPIPE, on Linux); the output files were not touched\n";

// The package, the version, then the copyright and the licence, as GNU programs give them.
constexpr std::string_view kCopyright = SIPO_COPYRIGHT
    "\n"
    "Licence: free of charge, at home and at work, on any number of computers; it may\n"
    "be passed on only unchanged, whole and free of charge, and not be changed,\n"
    "decompiled or sold. It comes with no warranty. The full terms, in Czech, come\n"
#ifdef _WIN32
    "with the program as LICENCE.txt.\n";
#else
    "with the package: /usr/share/doc/sipocheck/copyright.\n";
#endif

void PrintHelp(std::ostream& out, const Console& console) {
  out << kUsage << '\n'
      << kIntroduction << '\n'
      << FileCommandHelp() << '\n'
      << CheckCommandHelp(console) << '\n'
      << kStatuses << '\n'
      << BugReportLine();
}

// Reads the command and runs it; command is set once it is known, for the usage error's hint.
int RunCommand(ArgumentReader& reader, std::istream& in, std::ostream& out, std::ostream& err,
               const Console& console, std::string& command) {
  static constexpr std::string_view kOptions[] = {"--help", "--version"};
  if (reader.Done()) throw UsageError{"no command given"};
  const std::string arg = reader.Next();
  const bool help =
      arg == "-h" || (arg.rfind("--", 0) == 0 && LongOption(arg, kOptions, {}).name == "--help");
  // A line loop forced that this processor cannot run is refused, not replaced; help still answers.
  if (const auto refusal = ScanPathRefusal(); refusal && !help) {
    err << "sipocheck: " << *refusal << '\n';
    return kExitUsage;
  }
  if (arg == "file" || arg == "check") {
    command = arg;
    return arg == "file" ? RunFileCommand(reader, out, err, console)
                         : RunCheckCommand(reader, in, out, err, console);
  }
  if (arg != "-h" && arg.rfind("--", 0) != 0) throw UsageError{"unknown command '" + arg + "'"};
  if (help) {
    PrintHelp(out, console);
  } else {
    out << "sipocheck (" SIPO_PRODUCT_NAME ") " SIPO_VERSION_TEXT "\n"
        << kCopyright << ScanPathLine() << '\n';
  }
  return kExitOk;
}

// The usage error's report: what was wrong, the usage of the command it came in (or all of
// them), and where the help is.
void ReportUsageError(std::ostream& err, const UsageError& error, const std::string& command) {
  err << "sipocheck: " << error.message << '\n';
  if (command.empty()) {
    err << kUsage << "Try 'sipocheck --help'.\n";
  } else {
    err << (command == "file" ? FileCommandUsage() : CheckCommandUsage()) << "Try 'sipocheck "
        << command << " --help'.\n";
  }
}

}  // namespace

std::string BugReportLine() {
  return std::string("Report bugs to: ") + kContactEmail + '\n';
}

// A script must be able to tell a complete result from a cut one: output that could not be
// written, and memory that ran out, end in a message and a failure status ("check" has one of
// its own, apart from a text that is not valid).
int RunSipocheck(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err, const Console& console) {
  ArgumentReader reader(args);
  std::string command;
  const auto failed = [&] { return command == "check" ? kExitCannotCheck : kExitFailed; };
  int status = kExitFailed;
  errno = 0;  // the reason a write to standard output fails is left here
  try {
    status = RunCommand(reader, in, out, err, console, command);
  } catch (const UsageError& error) {
    ReportUsageError(err, error, command);
    status = kExitUsage;
  } catch (const std::bad_alloc&) {
    err << "sipocheck: out of memory\n";
    status = failed();
  }
  if (!out.flush()) {
    const int cause = errno;
    err << "sipocheck: cannot write to standard output";
    if (cause != 0) err << ": " << console.reasonText({cause, std::generic_category()});
    err << '\n';
    status = failed();
  }
  if (!err.flush()) status = failed();
  return status;
}

}  // namespace sipo::cli
