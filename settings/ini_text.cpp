// ini_text.cpp - the text rules of an INI file, on a file's lines held in memory.
#include "settings/ini_text.h"

#include "core/ascii_text.h"
#include "core/line_ends.h"

namespace sipo {
namespace {

// The name of a section header line, or nothing for any other line. As the Windows profile
// functions read it, the name runs to the last "]" of the line, and a line without one opens no
// section: what follows it still belongs to the section before.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view name;
  std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{TrimBlanks(line.substr(0, equals)), line.substr(equals + 1)};
}

std::string ValueText(std::string_view raw) {
  std::string_view value = TrimBlanks(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kIniValueLimit));
}

}  // namespace

// Unlike a line list, a NUL here does not end the text: it is kept as any other byte.
IniText::IniText(std::string_view text) {
  ForEachRawLine(text, [this](std::string_view line) { lines_.emplace_back(line); });
}

IniText::KeyLocation IniText::Find(std::string_view section, std::string_view key) const {
  KeyLocation location;
  bool inSection = false;
  bool inFirstSection = false;  // new keys go to the first section of that name
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (const auto name = SectionName(lines_[i])) {
      inSection = SameIgnoringCase(*name, section);
      inFirstSection = inSection && !location.sectionLastLine;
      if (inFirstSection) location.sectionLastLine = i;
      continue;
    }
    if (!inSection) continue;
    if (inFirstSection && !TrimBlanks(lines_[i]).empty()) location.sectionLastLine = i;
    const auto keyLine = ParseKeyLine(lines_[i]);
    if (keyLine && SameIgnoringCase(keyLine->name, key)) {
      location.keyLine = i;
      return location;
    }
  }
  return location;
}

std::optional<std::string> IniText::Read(std::string_view section, std::string_view key) const {
  const KeyLocation location = Find(section, key);
  if (!location.keyLine) return std::nullopt;
  return ValueText(ParseKeyLine(lines_[*location.keyLine])->value);
}

void IniText::Write(std::string_view section, std::string_view key, std::string_view value) {
  const KeyLocation location = Find(section, key);
  if (location.keyLine) {
    std::string& line = lines_[*location.keyLine];
    line.erase(line.find('=') + 1).append(value);
    return;
  }
  std::string keyLine = std::string(key).append("=").append(value);
  if (location.sectionLastLine) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*location.sectionLastLine + 1),
                  std::move(keyLine));
    return;
  }
  std::string header = "[";
  header.append(section).push_back(']');
  lines_.push_back(std::move(header));
  lines_.push_back(std::move(keyLine));
}

std::string IniText::Joined() const {
  std::string text;
  for (const std::string& line : lines_) text.append(line).append("\r\n");
  return text;
}

}  // namespace sipo
