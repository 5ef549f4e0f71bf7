// program_dir.cpp - the folder of the running executable, where the program keeps its settings.
#include "settings/program_dir.h"

namespace sipo {

std::string ProgramDir(std::string_view executablePath) {
  const std::size_t last = executablePath.find_last_of("\\:");
  std::string dir(last == std::string_view::npos ? std::string_view{}
                                                 : executablePath.substr(0, last + 1));
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir;
}

}  // namespace sipo
