// text_mark.h - the byte-order mark at the start of an input, which says how the input is read.
#pragma once

#include <cstddef>
#include <string_view>

namespace sipo {

// Bytes: no mark, read byte for byte. Utf32: a mark the run cannot read.
enum class TextEncoding { Bytes, Utf8, Utf16LE, Utf16BE, Utf32 };

struct TextMark {
  TextEncoding encoding = TextEncoding::Bytes;
  std::string_view bytes;  // the mark as it stands in the input, empty for Bytes
};

// The smallest start that decides: fewer bytes only when the input is shorter.
inline constexpr std::size_t kMarkDecidingSize = 4;

// The mark of an input from its first bytes.
TextMark MarkOf(std::string_view start);

// Whether these first bytes decide the mark: false while they could still grow into a mark they
// do not make yet (four bytes always decide).
bool MarkDecidedBy(std::string_view start);

}  // namespace sipo
