// program_title.h - the program's title and the text of its error box.
#pragma once

#include <string>
#include <string_view>

namespace sipo {

// The executable's file name without extension, every letter after the first in lower case.
// Works on Windows-1250 bytes of the full path.
std::string ProgramTitle(std::string_view executablePath);

// The error's message with a full stop appended when its last character sorts after '.'.
std::string ErrorBoxText(std::string_view message);

}  // namespace sipo
