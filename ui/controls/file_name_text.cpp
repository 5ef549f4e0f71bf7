// file_name_text.cpp - the text rules of a file-name field.
#include "ui/controls/file_name_text.h"

namespace sipo::ui {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

}  // namespace

std::u16string FirstWord(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  std::u16string word;
  bool quoted = false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'"') {
      quoted = !quoted;
    } else if (IsBlank(c) && !quoted) {
      break;
    } else {
      word.push_back(c);
    }
  }
  return word;
}

std::u16string BrowsePresetName(std::u16string_view text,
                                const std::function<bool(std::u16string_view)>& isExistingFile) {
  if (!text.empty() && isExistingFile(text)) return std::u16string(text);
  return FirstWord(text);
}

std::u16string QuotedIfSpaced(std::u16string_view name) {
  if (name.find(u' ') == std::u16string_view::npos || name.starts_with(u'"')) {
    return std::u16string(name);
  }
  std::u16string quoted;
  quoted.reserve(name.size() + 2);
  quoted.push_back(u'"');
  quoted.append(name);
  quoted.push_back(u'"');
  return quoted;
}

// A drive's root keeps its separator: "C:" alone would mean the drive's current folder.
std::u16string FolderOf(std::u16string_view name) {
  std::size_t last = name.size();
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (IsSeparator(name[i])) last = i;
  }
  if (last == name.size()) return {};
  const bool driveRoot = last == 2 && name[1] == u':';
  return std::u16string(name.substr(0, last == 0 || driveRoot ? last + 1 : last));
}

}  // namespace sipo::ui
