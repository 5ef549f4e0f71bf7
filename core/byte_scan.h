// byte_scan.h - finds bytes in a text sixteen at a time. Lines and fields of an export are short,
// so a library search call per line or field costs more in calls than in scanning.
#pragma once

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace sipo {

// The first byte in [p, end) that equals a or b, or end.
inline const char* FindEither(const char* p, const char* end, char a, char b) {
#ifdef __SSE2__
  const __m128i va = _mm_set1_epi8(a);
  const __m128i vb = _mm_set1_epi8(b);
  while (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int mask =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, va), _mm_cmpeq_epi8(bytes, vb)));
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
    p += 16;
  }
#endif
  while (p < end && *p != a && *p != b) ++p;
  return p;
}

inline const char* FindByte(const char* p, const char* end, char c) {
  return FindEither(p, end, c, c);
}

// Calls onMatch with the address of every byte in [p, end) that equals c, in order.
template <class OnMatch>
void ForEachByte(const char* p, const char* end, char c, OnMatch&& onMatch) {
#ifdef __SSE2__
  const __m128i vc = _mm_set1_epi8(c);
  for (; end - p >= 16; p += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, vc)));
    while (mask != 0) {
      onMatch(p + __builtin_ctz(mask));
      mask &= mask - 1;
    }
  }
#endif
  for (; p < end; ++p) {
    if (*p == c) onMatch(p);
  }
}

// The first byte in [p, end) that equals a, b or c, or end.
inline const char* FindAny(const char* p, const char* end, char a, char b, char c) {
#ifdef __SSE2__
  const __m128i va = _mm_set1_epi8(a);
  const __m128i vb = _mm_set1_epi8(b);
  const __m128i vc = _mm_set1_epi8(c);
  while (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hits =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, va), _mm_cmpeq_epi8(bytes, vb)),
                     _mm_cmpeq_epi8(bytes, vc));
    const int mask = _mm_movemask_epi8(hits);
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
    p += 16;
  }
#endif
  while (p < end && *p != a && *p != b && *p != c) ++p;
  return p;
}

// The first CR, LF or NUL at or after p, or end: the line ends and the end of a text, found in
// the same pass.
inline const char* FindLineEndOrNul(const char* p, const char* end) {
  return FindAny(p, end, '\r', '\n', '\0');
}

// The first CR or LF at or after p, or end.
inline const char* FindLineEnd(const char* p, const char* end) {
  return FindEither(p, end, '\r', '\n');
}

}  // namespace sipo
