// check_command.h - "sipocheck check": classifies texts given as arguments or read line by line,
// and prints each with its status as CSV.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "cli/console.h"

namespace sipo::cli {

// Reads the command's arguments (a UsageError when they are wrong), runs it and gives the exit
// status.
int RunCheckCommand(ArgumentReader& reader, std::istream& in, std::ostream& out, std::ostream& err,
                    const Console& console);

// The command's usage line.
std::string_view CheckCommandUsage();
// The command's usage, options, statuses (in the console's encoding) and examples.
std::string CheckCommandHelp(const Console& console);

}  // namespace sipo::cli
