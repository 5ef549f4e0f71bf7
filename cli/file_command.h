// file_command.h - "sipocheck file": sorts an input's lines into the good and the bad file and
// reports the run on standard error.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "cli/console.h"

namespace sipo::cli {

// Reads the command's arguments (a UsageError when they are wrong), runs it and gives the exit
// status. Its help goes to out.
int RunFileCommand(ArgumentReader& reader, std::ostream& out, std::ostream& err,
                   const Console& console);

// The command's usage line.
std::string_view FileCommandUsage();
// The command's usage, options and examples.
std::string FileCommandHelp();

}  // namespace sipo::cli
