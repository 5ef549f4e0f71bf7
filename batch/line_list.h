// line_list.h - an ordered list of lines, split from a text by its CR LF, CR and LF line ends.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/line_ends.h"
#include "files/whole_file.h"

namespace sipo {

// As ForEachRawLine, but a NUL ends the text: the line lists of files and the clipboard.
template <class OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
  ForEachRawLine(text.substr(0, text.find('\0')), std::forward<OnLine>(onLine));
}

// Lines are views: into the list's own text when it was split from one, into copies the list
// keeps, or into memory the caller keeps alive (Append).
class LineList {
 public:
  LineList() = default;

  std::size_t Size() const { return lines_.size(); }
  bool Empty() const { return lines_.empty(); }
  std::string_view operator[](std::size_t i) const { return lines_[i]; }
  auto begin() const { return lines_.begin(); }
  auto end() const { return lines_.end(); }

  // The line must stay valid as long as the list is used.
  void Append(std::string_view line) { lines_.push_back(line); }
  void AppendCopy(std::string_view line);
  void Clear();

 private:
  friend LineList SplitLines(std::string text);
  friend bool LoadLines(std::string_view cp1250Name, LineList& lines);

  void SplitOwnText();

  FileContent text_;
  std::deque<std::string> copies_;  // a deque keeps its strings in place as it grows
  std::vector<std::string_view> lines_;
};

LineList SplitLines(std::string text);
// Every line followed by CR LF, the last one included.
std::string JoinLines(const LineList& lines);
// False when the file cannot be opened or read; the list is then empty.
bool LoadLines(std::string_view cp1250Name, LineList& lines);
// Replaces the file with the joined lines; false (and the file unchanged) when that fails.
bool SaveLines(std::string_view cp1250Name, const LineList& lines);

}  // namespace sipo
