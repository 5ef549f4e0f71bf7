// text_units.h - the units a text is read in: single bytes, or 16-bit UTF-16 units in either byte
// order. Line ends, the NUL and field delimiters are found by unit, so that a byte of a UTF-16
// unit is never taken for a CR, an LF or a delimiter of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "core/byte_scan.h"

namespace sipo {

// A field delimiter as the text spells it: a byte text's Windows-1250 byte, the UTF-8 bytes of
// its character (so that "§" is C2 A7 and never a lone A7 inside another letter), or a UTF-16
// text's unit.
struct TextDelimiter {
  char bytes[4] = {';'};
  std::size_t size = 1;  // in bytes; UTF-16 delimiters use unit alone
  unsigned unit = ';';
};

// The value of the UTF-16 unit at p in the given byte order.
inline unsigned Utf16UnitAt(const char* p, bool bigEndian) {
  const unsigned first = static_cast<unsigned char>(p[0]);
  const unsigned second = static_cast<unsigned char>(p[1]);
  return bigEndian ? (first << 8 | second) : (second << 8 | first);
}

// The value of the unit at p: a byte, or a UTF-16 unit in the given byte order.
inline unsigned UnitAt(const char* p, std::size_t unitSize, bool bigEndian) {
  return unitSize == 1 ? static_cast<unsigned char>(*p) : Utf16UnitAt(p, bigEndian);
}

struct ByteUnits {
  static constexpr std::size_t kSize = 1;
  static constexpr std::string_view kLineEnd = "\r\n";
  static unsigned At(const char* p) { return static_cast<unsigned char>(*p); }
  static const char* FindLineEndOrNul(const char* p, const char* end) {
    return sipo::FindLineEndOrNul(p, end);
  }
  static const char* Find(const char* p, const char* end, unsigned unit) {
    return FindByte(p, end, static_cast<char>(unit));
  }
  // A UTF-8 sequence is matched whole; its lead byte never stands inside another character.
  static const char* FindDelimiter(const char* p, const char* end, const TextDelimiter& d) {
    if (d.size == 1) return FindByte(p, end, d.bytes[0]);
    const std::string_view sequence(d.bytes, d.size);
    for (;; ++p) {
      p = FindByte(p, end, d.bytes[0]);
      if (p == end || std::string_view(p, static_cast<std::size_t>(end - p)).starts_with(sequence))
        return p;
    }
  }
  static std::size_t DelimiterSize(const TextDelimiter& d) { return d.size; }
};

// UTF-16 units in the file's byte order. Ranges given to the searches hold whole units.
template <bool kBigEndian>
struct Utf16Units {
  static constexpr std::size_t kSize = 2;
  static constexpr bool kIsBigEndian = kBigEndian;
  static constexpr std::string_view kLineEnd =
      kBigEndian ? std::string_view("\0\r\0\n", 4) : std::string_view("\r\0\n\0", 4);

  static unsigned At(const char* p) { return Utf16UnitAt(p, kBigEndian); }
  static const char* FindLineEndOrNul(const char* p, const char* end) {
    return FindAnyOf3(p, end, '\r', '\n', 0);
  }
  static const char* Find(const char* p, const char* end, unsigned unit) {
    return FindAnyOf3(p, end, unit, unit, unit);
  }
  static const char* FindDelimiter(const char* p, const char* end, const TextDelimiter& d) {
    return Find(p, end, d.unit);
  }
  static std::size_t DelimiterSize(const TextDelimiter&) { return kSize; }

 private:
#ifdef __SSE2__
  // A unit as a little-endian 16-bit load of its two bytes sees it.
  static short Loaded(unsigned unit) {
    const unsigned loaded = kBigEndian ? ((unit & 0xFF) << 8 | unit >> 8) : unit;
    return static_cast<short>(static_cast<std::uint16_t>(loaded));
  }
#endif
  static const char* FindAnyOf3(const char* p, const char* end, unsigned a, unsigned b,
                                unsigned c) {
#ifdef __SSE2__
    const __m128i va = _mm_set1_epi16(Loaded(a));
    const __m128i vb = _mm_set1_epi16(Loaded(b));
    const __m128i vc = _mm_set1_epi16(Loaded(c));
    while (end - p >= 16) {
      const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i hits =
          _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(units, va), _mm_cmpeq_epi16(units, vb)),
                       _mm_cmpeq_epi16(units, vc));
      const int mask = _mm_movemask_epi8(hits);
      if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
      p += 16;
    }
#endif
    for (; p < end; p += kSize) {
      const unsigned unit = At(p);
      if (unit == a || unit == b || unit == c) return p;
    }
    return end;
  }
};

}  // namespace sipo
