// line_judge.h - the rule a file run applies to each line: whether its number field, found from
// the block's mask of field marks, is ten digits that pass the check digit. It is the product's
// own statement of LineHasValidNumber (line_rule.h), which the tests hold it to on every path.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "batch/line_rule.h"
#include "batch/scan_kernels.h"
#include "core/sipo_number.h"
#include "core/sipo_weights.h"

namespace sipo {

// How a line's number is found: the whole line, a delimited field, or a quoted text. Each has a
// line loop of its own, so that a line costs no branch on it.
enum class LineLayout { Whole, Field, Quoted };

inline LineLayout LayoutOf(const ScanRule& rule) {
  if (rule.singleColumn) return LineLayout::Whole;
  return rule.quoted ? LineLayout::Quoted : LineLayout::Field;
}

namespace scan_detail {

// The first set bit at or after i and before limit; limit when there is none.
inline std::size_t NextBit(const std::uint64_t* bits, std::size_t i, std::size_t limit) {
  if (i >= limit) return limit;
  std::size_t w = i >> 6;
  std::uint64_t word = bits[w] & (~std::uint64_t{0} << (i & 63));
  while (word == 0) {
    if ((++w << 6) >= limit) return limit;
    word = bits[w];
  }
  const std::size_t at = (w << 6) + static_cast<std::size_t>(std::countr_zero(word));
  return at < limit ? at : limit;
}

#if defined(__GNUC__)
#define SIPO_SCAN_INLINE inline __attribute__((always_inline))
#else
#define SIPO_SCAN_INLINE inline
#endif

// The weight the tenth digit is given beside the nine weighted ones: larger than their largest
// sum, so that one number, nine's sum + kTenthWeight * tenth, holds both.
inline constexpr unsigned kTenthWeight = [] {
  unsigned largest = 0;
  for (const int weight : kSipoWeights) largest += 9 * static_cast<unsigned>(weight);
  return largest + 1;
}();

// Whether the check digit passes, for each such number: a remainder of 0 over the nine leaves the
// tenth free (as IsValidSipoNumber has it); otherwise the tenth completes the sum to a multiple of
// ten. Indexed modulo 4096, for the sum over units that are not all digits may be larger (and its
// verdict is a failure whatever the table says).
inline constexpr std::array<bool, 4096> kCheckDigitPasses = [] {
  std::array<bool, 4096> table{};
  for (unsigned nine = 0; nine < kTenthWeight; ++nine) {
    for (unsigned tenth = 0; tenth < 10; ++tenth) {
      table[nine + kTenthWeight * tenth] = nine % 10 == 0 || (nine + tenth) % 10 == 0;
    }
  }
  return table;
}();
static_assert(kTenthWeight * 10 <= 4096);

// Ten units at p, each a digit 0-9, that pass the check digit: one unit at a time.
template <class Units>
bool TenDigitsScalar(const char* p) {
  return IsSipoNumberIn<Units>(p, p + kSipoLength * Units::kSize);
}

#if defined(__SSE2__)
// Sixteen bytes, the first ten the number's: digits 0-9 and the check digit, in one compare, one
// weighted sum of all ten (the bytes past the tenth weighted 0) and a look in the table. No
// branch: good and bad numbers come in no order a processor could predict.
SIPO_SCAN_INLINE bool TenDigitBytesPass(__m128i bytes) {
  constexpr auto w = kSipoWeights;
  const __m128i lowWeights = _mm_setr_epi16(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]);
  const __m128i highWeights =
      _mm_setr_epi16(w[8], static_cast<short>(kTenthWeight), 0, 0, 0, 0, 0, 0);
  const __m128i zero = _mm_setzero_si128();
  const __m128i values = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
  const __m128i over = _mm_subs_epu8(values, _mm_set1_epi8(9));
  const unsigned digits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(over, zero)));
  const __m128i low = _mm_unpacklo_epi8(values, zero);
  const __m128i high = _mm_unpackhi_epi8(values, zero);
  const __m128i sums =
      _mm_add_epi32(_mm_madd_epi16(low, lowWeights), _mm_madd_epi16(high, highWeights));
  const __m128i pairs = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, 0x4E));
  const __m128i total = _mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, 0xB1));
  const unsigned both = static_cast<unsigned>(_mm_cvtsi128_si32(total));
  return ((digits & 0x3FF) == 0x3FF) & kCheckDigitPasses[both & 4095];
}

// Ten units at p: sixteen bytes (or sixteen UTF-16 units narrowed to bytes, a unit above 0xFF
// becoming a non-digit) tested at once. Reads 16 bytes at p, 32 for UTF-16.
template <class Units>
SIPO_SCAN_INLINE bool TenDigitsSse2(const char* p) {
  const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  if constexpr (Units::kSize == 1) {
    return TenDigitBytesPass(first);
  } else {
    __m128i a = first;
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    if constexpr (Units::kIsBigEndian) {
      a = _mm_or_si128(_mm_slli_epi16(a, 8), _mm_srli_epi16(a, 8));
      b = _mm_or_si128(_mm_slli_epi16(b, 8), _mm_srli_epi16(b, 8));
    }
    // packus reads each unit as signed and saturates to unsigned bytes: 0x100-0x7FFF become 0xFF
    // and 0x8000 and above 0; neither is a digit.
    return TenDigitBytesPass(_mm_packus_epi16(a, b));
  }
}
#endif

template <class Units, bool kVector>
SIPO_SCAN_INLINE bool TenDigits(const char* p) {
#if defined(__SSE2__)
  if constexpr (kVector) return TenDigitsSse2<Units>(p);
#endif
  return TenDigitsScalar<Units>(p);
}

// Whether the line [begin, end) (offsets into the block) is good, by the masks: the number field
// is cut at marks as LineHasValidNumber cuts it at delimiters or quotes. Any length of line.
template <class Units, bool kVector>
bool LineGood(ScanRule rule, const char* base, const std::uint64_t* marks, std::size_t begin,
              std::size_t end) {
  constexpr std::size_t k = Units::kSize;
  constexpr std::size_t kNumberBytes = kSipoLength * k;
  if (rule.singleColumn)
    return end - begin == kNumberBytes && TenDigits<Units, kVector>(base + begin);
  if (rule.column < 0) return false;
  std::size_t field = begin;
  if (rule.quoted) {
    for (std::int32_t i = 0;; ++i) {
      const std::size_t open = NextBit(marks, field, end);
      if (open == end) return false;
      const std::size_t close = NextBit(marks, open + k, end);
      if (close == end) return false;
      if (i == rule.column) {
        return close - open - k == kNumberBytes && TenDigits<Units, kVector>(base + open + k);
      }
      field = close + k;
    }
  }
  for (std::int32_t i = 0; i < rule.column; ++i) {
    const std::size_t at = NextBit(marks, field, end);
    if (at == end) return false;
    field = at + rule.markSize;
  }
  // A delimiter at the very end opens no empty last field.
  if (field >= end) return false;
  return NextBit(marks, field, end) - field == kNumberBytes &&
         TenDigits<Units, kVector>(base + field);
}

// The bits of the mask from bit i on, as far as one unaligned 64-bit load of its bytes reaches:
// the first kWindow bits are the mask's, the rest may be clear. (One load and one shift: the
// mask's words are its bytes in order on a little-endian processor.)
inline constexpr std::size_t kWindow = 57;
SIPO_SCAN_INLINE std::uint64_t WindowFrom(const std::uint64_t* bits, std::size_t i) {
  if constexpr (std::endian::native == std::endian::little) {
    std::uint64_t word;
    std::memcpy(&word, reinterpret_cast<const char*>(bits) + (i >> 3), sizeof word);
    return word >> (i & 7);
  } else {
    const unsigned shift = static_cast<unsigned>(i & 63);
    return bits[i >> 6] >> shift | (bits[(i >> 6) + 1] << 1) << (63 - shift);
  }
}

// The offset of the lowest mark in a window: kWindow or more when it shows none. (The top bit,
// beyond kWindow, spares a test for an empty window.)
SIPO_SCAN_INLINE std::size_t LowestMark(std::uint64_t window) {
  return static_cast<std::size_t>(std::countr_zero(window | std::uint64_t{1} << 63));
}

// As LineGood, for the usual line whose number field lies within kWindow bytes of its start: the
// field's marks are picked from one window of the mask, and the rest is arithmetic without a
// branch on the data. A mark the window may not show sends the line to LineGood.
template <class Units, bool kVector, LineLayout kLayout>
SIPO_SCAN_INLINE bool LineGoodFast(const ScanRule& rule, const char* base,
                                   const std::uint64_t* marks, std::size_t begin, std::size_t end) {
  constexpr std::size_t k = Units::kSize;
  constexpr std::size_t kNumberBytes = kSipoLength * k;
  const std::size_t length = end - begin;
  if constexpr (kLayout == LineLayout::Whole) {
    return (length == kNumberBytes) & TenDigits<Units, kVector>(base + begin);
  }
  if (rule.column < 0) [[unlikely]]
    return false;
  const auto column = static_cast<std::uint32_t>(rule.column);
  std::uint64_t window = WindowFrom(marks, begin);
  if constexpr (kLayout == LineLayout::Quoted) {
    for (std::uint32_t i = 0; i < 2 * column; ++i) window &= window - 1;
    const auto open = LowestMark(window);
    window &= window - 1;
    const auto close = LowestMark(window);
    if (close >= kWindow && length > kWindow) [[unlikely]] {
      return LineGood<Units, kVector>(rule, base, marks, begin, end);
    }
    return (close < length) & (close - open - k == kNumberBytes) &
           TenDigits<Units, kVector>(base + begin + open + k);
  } else {
    std::size_t field = 0;  // past the last mark skipped
    if (column > 0) {
      for (std::uint32_t i = 1; i < column; ++i) window &= window - 1;
      field = LowestMark(window) + rule.markSize;
      window &= window - 1;
    }
    const auto next = LowestMark(window);
    if (next >= kWindow && length > kWindow) [[unlikely]] {
      return LineGood<Units, kVector>(rule, base, marks, begin, end);
    }
    // A field that starts past the line's end (its mark on a later line, or none in the window)
    // starts past its end too: the unsigned difference is then no number's length. The digits
    // are read there all the same, within 64 bytes and a mark of the line's start, in the slack.
    const std::size_t fieldEnd = next < length ? next : length;
    return (fieldEnd - field == kNumberBytes) & TenDigits<Units, kVector>(base + begin + field);
  }
}

}  // namespace scan_detail
}  // namespace sipo
