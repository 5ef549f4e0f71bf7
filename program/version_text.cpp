// version_text.cpp - the About window's version line, from the executable's file version.
#include "program/version_text.h"

namespace sipo {

std::string VersionLabelText(const std::optional<FileVersion>& version) {
  std::string text = "\xE8\xEDslo verze programu (build) : ";  // číslo verze programu (build) :
  if (!version) return text + "nezn\xE1m\xE9";                 // neznámé
  for (std::size_t i = 0; i < version->size(); ++i) {
    if (i > 0) text += '.';
    text += std::to_string((*version)[i]);
  }
  return text;
}

}  // namespace sipo
