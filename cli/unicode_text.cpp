// unicode_text.cpp - the few Unicode conversions sipocheck makes itself.
#include "cli/unicode_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace sipo::cli {
namespace {

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// The sequence's length by its lead byte; 0 for a byte that cannot lead one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xF0 && lead < 0xF5) return 4;
  return 0;
}

// The smallest code each length may carry: a longer form of a smaller code is no UTF-8.
constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};

}  // namespace

void AppendUtf8(std::string& text, std::uint32_t code) {
  const auto put = [&](std::uint32_t byte) { text.push_back(static_cast<char>(byte)); };
  if (code < 0x80) {
    put(code);
  } else if (code < 0x800) {
    put(0xC0 | code >> 6);
    put(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    put(0xE0 | code >> 12);
    put(0x80 | (code >> 6 & 0x3F));
    put(0x80 | (code & 0x3F));
  } else {
    put(0xF0 | code >> 18);
    put(0x80 | (code >> 12 & 0x3F));
    put(0x80 | (code >> 6 & 0x3F));
    put(0x80 | (code & 0x3F));
  }
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8) {
  std::u16string units;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t size = SequenceLength(lead);
    if (size == 0 || i + size > utf8.size()) return std::nullopt;
    std::uint32_t code = size == 1 ? lead : lead & (0x7Fu >> size);
    for (std::size_t j = 1; j < size; ++j) {
      const auto next = static_cast<unsigned char>(utf8[i + j]);
      if (!IsContinuation(next)) return std::nullopt;
      code = code << 6 | (next & 0x3F);
    }
    if (code < kSmallest[size] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
      return std::nullopt;
    if (code >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(code));
    }
    i += size;
  }
  return units;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t code = units[i];
    const bool high = code >= 0xD800 && code < 0xDC00;
    if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00u);
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;
    }
    AppendUtf8(text, code);
  }
  return text;
}

std::u16string UnitsOfUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned first = static_cast<unsigned char>(bytes[i]);
    const unsigned second = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
  }
  return units;
}

std::string CodePointName(std::string_view utf8) {
  std::uint32_t code = 0;
  if (const auto units = Utf8ToUtf16(utf8); units && !units->empty()) {
    code = (*units)[0];
    if (code >= 0xD800 && code < 0xDC00 && units->size() > 1)
      code = 0x10000 + ((code - 0xD800) << 10) + ((*units)[1] - 0xDC00u);
  }
  char hex[16];
  const auto end = std::to_chars(hex, hex + sizeof hex, code, 16).ptr;
  std::string name = "U+" + std::string(4 - std::min<std::ptrdiff_t>(4, end - hex), '0');
  for (const char* c = hex; c < end; ++c) name.push_back(static_cast<char>(std::toupper(*c)));
  return name;
}

}  // namespace sipo::cli
