// line_scan.cpp - classifies a block into its masks of line ends and field marks, one unit at a
// time or 16 and 32 bytes at a time.
#include "batch/line_scan.h"

#include <algorithm>

#include "batch/scan_kernel_parts.h"

#ifdef SIPO_SCAN_X86
#include <immintrin.h>
#endif

namespace sipo {
namespace {

// The bits of the last word that lie at size or beyond are cleared: the stride read past the
// units' end.
void ClearTail(std::uint64_t* ends, std::uint64_t* marks, std::size_t size) {
  if (size % 64 == 0) return;
  const std::uint64_t keep = (std::uint64_t{1} << (size % 64)) - 1;
  ends[size / 64] &= keep;
  marks[size / 64] &= keep;
}

// The line ends of a word of bits: every CR, NUL and LF but the LF of a CR LF, which the CR ends
// on its own (so that a line costs one bit). carry holds whether the unit before the word is a
// CR, in its lowest bit, and takes the word's own last unit's.
inline std::uint64_t LineEnds(std::uint64_t cr, std::uint64_t lf, std::uint64_t nul,
                              std::uint64_t& carry, unsigned unitSize) {
  const std::uint64_t lfOfCrLf = lf & (cr << unitSize | carry);
  carry = cr >> (64 - unitSize);
  return (cr | lf | nul) & ~lfOfCrLf;
}

// The value of the unit at p in the rule's byte order.
unsigned UnitAt(const ScanRule& rule, const char* p) {
  const unsigned first = static_cast<unsigned char>(p[0]);
  if (rule.unitSize == 1) return first;
  const unsigned second = static_cast<unsigned char>(p[1]);
  return rule.bigEndian ? (first << 8 | second) : (second << 8 | first);
}

bool MarkStartsAt(const ScanRule& rule, const char* p) {
  if (rule.unitSize == 2) return UnitAt(rule, p) == rule.markUnit;
  return std::equal(rule.mark, rule.mark + rule.markSize, p);
}

void ClassifyScalar(const ScanRule& rule, const char* p, std::size_t size, bool crBefore,
                    std::uint64_t* ends, std::uint64_t* marks) {
  const std::size_t words = (size + 63) / 64;
  std::fill(ends, ends + words, 0);
  std::fill(marks, marks + words, 0);
  bool afterCR = crBefore;
  for (std::size_t i = 0; i < size; i += rule.unitSize) {
    const unsigned unit = UnitAt(rule, p + i);
    const std::uint64_t bit = std::uint64_t{1} << (i & 63);
    if (unit == '\r' || (unit == '\n' && !afterCR) || unit == 0) ends[i >> 6] |= bit;
    afterCR = unit == '\r';
    if (MarkStartsAt(rule, p + i)) marks[i >> 6] |= bit;
  }
}

// Eight at a time whatever their number: a branch on it would miss as often as not.
template <class Count>
inline std::size_t ListBitsBy(const std::uint64_t* bits, std::size_t from, std::size_t to,
                              std::uint32_t* out, Count&& countOf) {
  std::size_t count = 0;
  for (std::size_t w = from; w < to; ++w) {
    std::uint64_t word = bits[w];
    const auto at = static_cast<std::uint32_t>((w - from) << 6);
    const std::size_t n = countOf(word);
    for (std::size_t j = 0; j < 8; ++j) {
      out[count + j] = at + static_cast<std::uint32_t>(std::countr_zero(word));
      word &= word - 1;
    }
    for (std::size_t j = 8; j < n; ++j) {
      out[count + j] = at + static_cast<std::uint32_t>(std::countr_zero(word));
      word &= word - 1;
    }
    count += n;
  }
  return count;
}

// The set bits of a word without a bit count instruction, which SSE2 processors may lack.
std::size_t CountBits(std::uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ULL;
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<std::size_t>((x * 0x0101010101010101ULL) >> 56);
}

#ifdef SIPO_SCAN_X86

// A UTF-16 unit as a little-endian 16-bit load of its two bytes sees it.
short Loaded(unsigned unit, bool bigEndian) {
  const unsigned loaded = bigEndian ? ((unit & 0xFF) << 8 | (unit >> 8 & 0xFF)) : unit & 0xFFFF;
  return static_cast<short>(static_cast<std::uint16_t>(loaded));
}

// One bit for each unit, at its first byte.
constexpr std::uint64_t kUnitStarts = 0x5555555555555555ULL;

// The bits of a stride's CRs, LFs, NULs and marks, gathered 16 or 32 bytes at a time.
struct StrideBits {
  std::uint64_t cr = 0, lf = 0, nul = 0, mark = 0;
  void Store(std::size_t w, std::uint64_t& carry, std::uint64_t keep, unsigned unitSize,
             std::uint64_t* ends, std::uint64_t* marks) const {
    ends[w] = LineEnds(cr & keep, lf & keep, nul & keep, carry, unitSize);
    marks[w] = mark & keep;
  }
};

inline std::uint64_t Bits16(__m128i hits, int j) {
  return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hits))} << (j * 16);
}

// Bytes: a mark of kMark bytes starts where each of its bytes stands at its offset.
template <std::size_t kMark>
void ClassifyBytesSse2(const ScanRule& rule, const char* p, std::size_t size, bool crBefore,
                       std::uint64_t* ends, std::uint64_t* marks) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  __m128i mark[kMark];
  for (std::size_t i = 0; i < kMark; ++i) mark[i] = _mm_set1_epi8(rule.mark[i]);
  std::uint64_t carry = crBefore;
  for (std::size_t w = 0; w < (size + 63) / 64; ++w) {
    StrideBits bits;
    for (int j = 0; j < 4; ++j) {
      const char* s = p + w * 64 + j * 16;
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
      __m128i found = _mm_cmpeq_epi8(x, mark[0]);
      for (std::size_t i = 1; i < kMark; ++i) {
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        found = _mm_and_si128(found, _mm_cmpeq_epi8(next, mark[i]));
      }
      bits.cr |= Bits16(_mm_cmpeq_epi8(x, cr), j);
      bits.lf |= Bits16(_mm_cmpeq_epi8(x, lf), j);
      bits.nul |= Bits16(_mm_cmpeq_epi8(x, zero), j);
      bits.mark |= Bits16(found, j);
    }
    bits.Store(w, carry, ~std::uint64_t{0}, 1, ends, marks);
  }
  ClearTail(ends, marks, size);
}

void ClassifyUnitsSse2(const ScanRule& rule, const char* p, std::size_t size, bool crBefore,
                       std::uint64_t* ends, std::uint64_t* marks) {
  const __m128i cr = _mm_set1_epi16(Loaded('\r', rule.bigEndian));
  const __m128i lf = _mm_set1_epi16(Loaded('\n', rule.bigEndian));
  const __m128i zero = _mm_setzero_si128();
  const __m128i mark = _mm_set1_epi16(Loaded(rule.markUnit, rule.bigEndian));
  std::uint64_t carry = crBefore;
  for (std::size_t w = 0; w < (size + 63) / 64; ++w) {
    StrideBits bits;
    for (int j = 0; j < 4; ++j) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + w * 64 + j * 16));
      bits.cr |= Bits16(_mm_cmpeq_epi16(x, cr), j);
      bits.lf |= Bits16(_mm_cmpeq_epi16(x, lf), j);
      bits.nul |= Bits16(_mm_cmpeq_epi16(x, zero), j);
      bits.mark |= Bits16(_mm_cmpeq_epi16(x, mark), j);
    }
    bits.Store(w, carry, kUnitStarts, 2, ends, marks);
  }
  ClearTail(ends, marks, size);
}

#define SIPO_AVX2 __attribute__((target("avx2")))

SIPO_AVX2 inline std::uint64_t Bits32(__m256i hits, int j) {
  return std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(hits))} << (j * 32);
}

template <std::size_t kMark>
SIPO_AVX2 void ClassifyBytesAvx2(const ScanRule& rule, const char* p, std::size_t size,
                                 bool crBefore, std::uint64_t* ends, std::uint64_t* marks) {
  const __m256i cr = _mm256_set1_epi8('\r');
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i zero = _mm256_setzero_si256();
  __m256i mark[kMark];
  for (std::size_t i = 0; i < kMark; ++i) mark[i] = _mm256_set1_epi8(rule.mark[i]);
  std::uint64_t carry = crBefore;
  for (std::size_t w = 0; w < (size + 63) / 64; ++w) {
    StrideBits bits;
    for (int j = 0; j < 2; ++j) {
      const char* s = p + w * 64 + j * 32;
      const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
      __m256i found = _mm256_cmpeq_epi8(x, mark[0]);
      for (std::size_t i = 1; i < kMark; ++i) {
        const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        found = _mm256_and_si256(found, _mm256_cmpeq_epi8(next, mark[i]));
      }
      bits.cr |= Bits32(_mm256_cmpeq_epi8(x, cr), j);
      bits.lf |= Bits32(_mm256_cmpeq_epi8(x, lf), j);
      bits.nul |= Bits32(_mm256_cmpeq_epi8(x, zero), j);
      bits.mark |= Bits32(found, j);
    }
    bits.Store(w, carry, ~std::uint64_t{0}, 1, ends, marks);
  }
  ClearTail(ends, marks, size);
}

SIPO_AVX2 void ClassifyUnitsAvx2(const ScanRule& rule, const char* p, std::size_t size,
                                 bool crBefore, std::uint64_t* ends, std::uint64_t* marks) {
  const __m256i cr = _mm256_set1_epi16(Loaded('\r', rule.bigEndian));
  const __m256i lf = _mm256_set1_epi16(Loaded('\n', rule.bigEndian));
  const __m256i zero = _mm256_setzero_si256();
  const __m256i mark = _mm256_set1_epi16(Loaded(rule.markUnit, rule.bigEndian));
  std::uint64_t carry = crBefore;
  for (std::size_t w = 0; w < (size + 63) / 64; ++w) {
    StrideBits bits;
    for (int j = 0; j < 2; ++j) {
      const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + w * 64 + j * 32));
      bits.cr |= Bits32(_mm256_cmpeq_epi16(x, cr), j);
      bits.lf |= Bits32(_mm256_cmpeq_epi16(x, lf), j);
      bits.nul |= Bits32(_mm256_cmpeq_epi16(x, zero), j);
      bits.mark |= Bits32(_mm256_cmpeq_epi16(x, mark), j);
    }
    bits.Store(w, carry, kUnitStarts, 2, ends, marks);
  }
  ClearTail(ends, marks, size);
}

__attribute__((target("popcnt,bmi"))) std::size_t ListBitsWithPopcnt(const std::uint64_t* bits,
                                                                     std::size_t from,
                                                                     std::size_t to,
                                                                     std::uint32_t* out) {
  return ListBitsBy(bits, from, to, out, [](std::uint64_t word) {
    return static_cast<std::size_t>(__builtin_popcountll(word));
  });
}

using Classifier = ClassifyFunction;

Classifier Sse2For(const ScanRule& rule) {
  if (rule.unitSize == 2) return ClassifyUnitsSse2;
  switch (rule.markSize) {
    case 1:
      return ClassifyBytesSse2<1>;
    case 2:
      return ClassifyBytesSse2<2>;
    case 3:
      return ClassifyBytesSse2<3>;
    default:
      return ClassifyBytesSse2<4>;
  }
}

Classifier Avx2For(const ScanRule& rule) {
  if (rule.unitSize == 2) return ClassifyUnitsAvx2;
  switch (rule.markSize) {
    case 1:
      return ClassifyBytesAvx2<1>;
    case 2:
      return ClassifyBytesAvx2<2>;
    case 3:
      return ClassifyBytesAvx2<3>;
    default:
      return ClassifyBytesAvx2<4>;
  }
}

#endif  // SIPO_SCAN_X86

}  // namespace

ScanRule MakeScanRule(const LineRule& rule, TextEncoding encoding) {
  ScanRule scan;
  const bool utf16 = encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
  scan.unitSize = utf16 ? 2 : 1;
  scan.bigEndian = encoding == TextEncoding::Utf16BE;
  scan.singleColumn = rule.singleColumn;
  scan.quoted = rule.quoted;
  scan.column = rule.column;
  if (rule.quoted) {
    scan.mark[0] = '"';
    scan.markSize = scan.unitSize;
    scan.markUnit = '"';
    return scan;
  }
  const TextDelimiter delimiter = DelimiterIn(encoding, rule.delimiter);
  scan.markUnit = delimiter.unit;
  scan.markSize = utf16 ? 2 : std::min(delimiter.size, sizeof scan.mark);
  std::copy(delimiter.bytes, delimiter.bytes + std::min(delimiter.size, sizeof scan.mark),
            scan.mark);
  return scan;
}

namespace scan_kernels {

ClassifyFunction ScalarClassifierFor(const ScanRule&) {
  return ClassifyScalar;
}

std::size_t ListBitsPortable(const std::uint64_t* bits, std::size_t from, std::size_t to,
                             std::uint32_t* out) {
  return ListBitsBy(bits, from, to, out, CountBits);
}

#ifdef SIPO_SCAN_X86
ClassifyFunction Sse2ClassifierFor(const ScanRule& rule) {
  return Sse2For(rule);
}

ClassifyFunction Avx2ClassifierFor(const ScanRule& rule) {
  return Avx2For(rule);
}

std::size_t ListBitsBmi(const std::uint64_t* bits, std::size_t from, std::size_t to,
                        std::uint32_t* out) {
  return ListBitsWithPopcnt(bits, from, to, out);
}
#endif

}  // namespace scan_kernels

}  // namespace sipo
