// program_title.cpp - the program's title and the text of its error box.
#include "program/program_title.h"

namespace sipo {
namespace {

// Lower case of a Windows-1250 letter; other bytes stay.
char LowerCp1250(char c) {
  const auto b = static_cast<unsigned char>(c);
  if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
    return static_cast<char>(b + 0x20);
  switch (b) {
    case 0x8A:
    case 0x8C:
    case 0x8D:
    case 0x8E:
    case 0x8F:
      return static_cast<char>(b + 0x10);
    case 0xA3:
      return '\xB3';
    case 0xA5:
      return '\xB9';
    case 0xAA:
      return '\xBA';
    case 0xAF:
      return '\xBF';
    case 0xBC:
      return '\xBE';
    default:
      return c;
  }
}

}  // namespace

std::string ProgramTitle(std::string_view executablePath) {
  std::string_view name = executablePath.substr(executablePath.find_last_of("\\/:") + 1);
  if (const auto dot = name.find_last_of('.'); dot != std::string_view::npos) {
    name = name.substr(0, dot);
  }
  std::string title(name);
  for (std::size_t i = 1; i < title.size(); ++i) title[i] = LowerCp1250(title[i]);
  return title;
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace sipo
