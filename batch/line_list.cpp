// line_list.cpp - an ordered list of lines, split from a text by its CR LF, CR and LF line ends.
#include "batch/line_list.h"

#include <cstring>

#include "files/atomic_file.h"

namespace sipo {

void LineList::AppendCopy(std::string_view line) {
  lines_.push_back(copies_.emplace_back(line));
}

void LineList::Clear() {
  lines_.clear();
  copies_.clear();
  text_ = {};
}

void LineList::SplitOwnText() {
  lines_.clear();
  ForEachLine(text_.View(), [this](std::string_view line) { lines_.push_back(line); });
}

LineList SplitLines(std::string text) {
  LineList lines;
  std::memcpy(lines.text_.Allocate(text.size()), text.data(), text.size());
  lines.SplitOwnText();
  return lines;
}

std::string JoinLines(const LineList& lines) {
  std::size_t size = 0;
  for (std::string_view line : lines) size += line.size() + kLineEnd.size();
  std::string text;
  text.reserve(size);
  for (std::string_view line : lines) text.append(line).append(kLineEnd);
  return text;
}

bool LoadLines(std::string_view cp1250Name, LineList& lines) {
  lines.Clear();
  if (!ReadWholeFile(cp1250Name, lines.text_)) return false;
  lines.SplitOwnText();
  return true;
}

bool SaveLines(std::string_view cp1250Name, const LineList& lines) {
  AtomicFileWriter writer(cp1250Name);
  for (std::string_view line : lines) {
    writer.Write(line);
    writer.Write(kLineEnd);
  }
  return writer.Commit();
}

}  // namespace sipo
