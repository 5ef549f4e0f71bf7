// line_ends.h - the line ends of the system's text files: CR LF, a lone CR or a lone LF, written
// back as CR LF. Line lists and the settings file split their texts by the same rule.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/byte_scan.h"

namespace sipo {

inline constexpr std::string_view kLineEnd = "\r\n";

// Calls onLine for each line of the text. A line ends at CR LF, a lone CR or a lone LF (so LF CR
// is two line ends); a text that ends with a line end has no empty line after it. Every other
// byte, NUL included, belongs to its line. Lines refer into the text.
template <class OnLine>
void ForEachRawLine(std::string_view text, OnLine&& onLine) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const char* q = FindLineEnd(p, end);
    onLine(std::string_view(p, static_cast<std::size_t>(q - p)));
    if (q == end) break;
    p = q + ((*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1);
  }
}

}  // namespace sipo
