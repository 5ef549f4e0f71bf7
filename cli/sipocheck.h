// sipocheck.h - the command-line file check and number check, apart from the process and the
// console, so that they run in tests as they run from a shell.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/console.h"

namespace sipo::cli {

// args excludes the program name. Reads standard input for "check" without texts and for "file"
// with the input "-". A failed write to out or err, or memory that runs out, gives a message
// (where err still takes one) and kExitFailed; a file run that an interruption stopped gives
// kExitInterrupted with both outputs untouched.
int RunSipocheck(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err, const Console& console);

// The line that ends every help: where to report bugs.
std::string BugReportLine();

}  // namespace sipo::cli
