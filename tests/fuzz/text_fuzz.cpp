// text_fuzz.cpp - libFuzzer target for the text rules of files: line lists, field splitting and
// the INI store's text. Nothing may crash, and each rule must agree with its own inverse.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "batch/field_split.h"
#include "batch/line_list.h"
#include "batch/line_rule.h"
#include "settings/ini_text.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckLines(std::string_view text) {
  const sipo::LineList lines = sipo::SplitLines(std::string(text));
  for (std::string_view line : lines) {
    Require(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
  }
  // Joining and splitting again gives the same lines.
  const sipo::LineList again = sipo::SplitLines(sipo::JoinLines(lines));
  Require(again.Size() == lines.Size());
  for (std::size_t i = 0; i < lines.Size(); ++i) Require(again[i] == lines[i]);
}

void CheckFields(char delimiter, std::string_view line) {
  sipo::FieldList fields;
  sipo::SplitDelimited(delimiter, line, fields);
  std::string joined;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) joined += delimiter;
    joined.append(fields[i]);
  }
  // Only a delimiter at the very end is lost.
  Require(joined == line || joined + delimiter == line);
  sipo::SplitQuoted(line, fields);
  for (std::string_view field : fields) Require(field.find('"') == std::string_view::npos);
  // The file run's direct search for its one field finds the field that the list holds.
  for (const bool sylk : {false, true}) {
    for (std::int32_t column = -1; column < 4; ++column) {
      const sipo::LineRule rule{false, sylk, delimiter, column};
      Require(sipo::LineIsGood(line, rule) ==
              sipo::LineHasValidNumber(line, false, sylk, delimiter, column, fields));
    }
  }
}

void CheckIni(std::string_view text) {
  sipo::IniText ini(text);
  const auto before = ini.Read("FILE", "Input");
  ini.Write("SINGLE", "Number", "1234567897");
  Require(ini.Read("SINGLE", "Number") == "1234567897");
  Require(ini.Read("single", "NUMBER") == "1234567897");
  const sipo::IniText reread(ini.Joined());
  Require(reread.Read("SINGLE", "Number") == "1234567897");
  Require(reread.Read("FILE", "Input") == before);  // the write changed nothing else
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char delimiter = static_cast<char>(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  CheckLines(text);
  CheckFields(delimiter, text);
  CheckIni(text);
  return 0;
}
