// ascii_text.h - the few ASCII text rules that line-based formats share: blanks, trimming and
// letter case, whatever the code page of the other bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace sipo {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Without the spaces and tabs at either end.
inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Equal but for the case of ASCII letters.
inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace sipo
