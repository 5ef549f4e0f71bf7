// program_dir.h - the folder of the running executable, where the program keeps its settings.
#pragma once

#include <string>
#include <string_view>

namespace sipo {

// Everything up to and including the last '\' or ':' of the executable's full path, with a '\'
// appended unless it already ends in one ('C:' becomes 'C:\').
std::string ProgramDir(std::string_view executablePath);

}  // namespace sipo
