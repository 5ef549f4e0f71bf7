// line_scan.h - the file run's line loop. A block is classified in 64-byte strides into two bit
// masks, its line ends and its field marks (the delimiter, or the quote), by the widest vector
// instructions the processor has; each line's number field is then found from the masks with a
// few bit operations, and its ten digits are tested with one vector compare and a weighted sum.
// Every byte of the input is looked at about once, whatever the layout or the encoding.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "batch/block_reader.h"
#include "batch/line_rule.h"
#include "batch/line_stream.h"
#include "batch/scan_kernels.h"
#include "batch/text_mark.h"
#include "batch/text_units.h"
#include "core/sipo_number.h"
#include "files/input_file.h"

namespace sipo {

ScanRule MakeScanRule(const LineRule& rule, TextEncoding encoding);

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

// The check digit over ten digit values: a remainder of 0 over the first nine leaves the tenth
// free (as IsValidSipoNumber has it); otherwise the tenth completes the sum to a multiple of ten.
SIPO_SCAN_INLINE bool CheckDigitPasses(unsigned weightedNine, unsigned tenth) {
  return (weightedNine % 10 == 0) | ((weightedNine + tenth) % 10 == 0);
}

// Ten units at p, each a digit 0-9, that pass the check digit: one unit at a time.
template <class Units>
bool TenDigitsScalar(const char* p) {
  return IsSipoNumberIn<Units>(p, p + kSipoLength * Units::kSize);
}

#if defined(__SSE2__)
// Sixteen bytes, the first ten the number's: digits 0-9 and the check digit, in one compare and
// one weighted sum (the bytes past the ninth weighted 0). No branch: good and bad numbers come
// in no order a processor could predict.
SIPO_SCAN_INLINE bool TenDigitBytesPass(__m128i bytes) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i values = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
  const __m128i over = _mm_subs_epu8(values, _mm_set1_epi8(9));
  const unsigned digits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(over, zero)));
  const __m128i low = _mm_unpacklo_epi8(values, zero);
  const __m128i high = _mm_unpackhi_epi8(values, zero);
  const __m128i sums = _mm_add_epi32(_mm_madd_epi16(low, _mm_setr_epi16(3, 7, 3, 1, 7, 3, 1, 7)),
                                     _mm_madd_epi16(high, _mm_setr_epi16(3, 0, 0, 0, 0, 0, 0, 0)));
  const __m128i pairs = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, 0x4E));
  const __m128i total = _mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, 0xB1));
  const unsigned nine = static_cast<unsigned>(_mm_cvtsi128_si32(total)) & 0xFFFF;
  const unsigned tenth = static_cast<unsigned>(_mm_extract_epi16(high, 1)) & 0xFF;
  return ((digits & 0x3FF) == 0x3FF) & CheckDigitPasses(nine, tenth);
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
    // Signed saturation: 0x100-0x7FFF become 0xFF, 0x8000 and above 0; neither is a digit.
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
// is cut at marks as LineIsGood cuts it at delimiters or quotes. Any length of line.
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

// The 64 bits of the mask from bit i on.
SIPO_SCAN_INLINE std::uint64_t BitsFrom(const std::uint64_t* bits, std::size_t i) {
  const unsigned shift = static_cast<unsigned>(i & 63);
  const std::uint64_t next = bits[(i >> 6) + 1];
  return bits[i >> 6] >> shift | (next << 1) << (63 - shift);
}

// As LineGood, for the usual line whose number field lies within 64 bytes of its start: the
// field's marks are picked from one 64-bit window of the mask, and the rest is arithmetic
// without a branch on the data.
template <class Units, bool kVector>
SIPO_SCAN_INLINE bool LineGoodFast(const ScanRule& rule, const char* base,
                                   const std::uint64_t* marks, std::size_t begin, std::size_t end) {
  constexpr std::size_t k = Units::kSize;
  constexpr std::size_t kNumberBytes = kSipoLength * k;
  const std::size_t length = end - begin;
  if (rule.singleColumn) return (length == kNumberBytes) & TenDigits<Units, kVector>(base + begin);
  if (rule.column < 0) return false;
  std::uint64_t window = BitsFrom(marks, begin);
  const std::uint32_t skip = static_cast<std::uint32_t>(rule.column) * (rule.quoted ? 2 : 1);
  std::size_t last = 0;  // the last mark skipped
  for (std::uint32_t i = 0; i < skip; ++i) {
    last = static_cast<std::size_t>(std::countr_zero(window));
    window &= window - 1;
  }
  std::size_t first = static_cast<std::size_t>(std::countr_zero(window));
  if (rule.quoted) {
    window &= window - 1;
    const std::size_t close = static_cast<std::size_t>(std::countr_zero(window));
    if (close == 64 && length > 64) return LineGood<Units, kVector>(rule, base, marks, begin, end);
    return (close < length) & (close - first - k == kNumberBytes) &
           TenDigits<Units, kVector>(base + begin + first + k);
  }
  if (first == 64 && length > 64) return LineGood<Units, kVector>(rule, base, marks, begin, end);
  const bool found = skip == 0 || last < length;
  const std::size_t field = skip == 0 ? 0 : last + rule.markSize;
  const std::size_t fieldEnd = first < length ? first : length;
  return found & (field < length) & (fieldEnd - field == kNumberBytes) &
         TenDigits<Units, kVector>(base + begin + (found ? field : 0));
}

// The words of the line-end mask listed at a time.
inline constexpr std::size_t kListWords = 64;

// The line loop's work on a block, apart from reading it: the masks, the line ends listed from
// them, and each line's verdict. Its buffers are made once and kept for the run.
template <class Units, bool kVector>
class LineScanner {
 public:
  struct Judged {
    std::size_t begin;
    std::size_t end;
    bool good;
    bool crlf;  // the line's CR LF follows it in the block
  };

  LineScanner(const ScanRule& rule, const ScanKernels& kernels)
      : rule_(rule),
        classify_(kernels.classifierFor(rule)),
        listBits_(kernels.listBits),
        listed_(kListWords * 64 + 8),
        judged_(kListWords * 64) {}

  // Makes room for the masks of a block of size bytes (whole units); the words past them stay
  // clear.
  void Prepare(std::size_t size) {
    const std::size_t words = (size + 63) / 64;
    if (ends_.size() < words + 2) {
      ends_.resize(words + 2);
      marks_.resize(words + 2);
    }
    ends_[words] = marks_[words] = ends_[words + 1] = marks_[words + 1] = 0;
  }

  // Classifies the words [from, from + kListWords) of the units [0, size), while the stretch
  // the lines are read from next is still in the nearest cache.
  void Classify(const char* base, std::size_t size, std::size_t from) {
    constexpr std::size_t k = Units::kSize;
    const std::size_t at = from << 6;
    if (at >= size) return;
    const std::size_t stretch = kListWords << 6;
    const bool crBefore = at > 0 && Units::At(base + at - k) == '\r';
    classify_(rule_, base + at, size - at < stretch ? size - at : stretch, crBefore,
              ends_.data() + from, marks_.data() + from);
  }

  // The verdict on the last line of the input, [0, size), classified whole.
  bool LastLineGood(const char* base, std::size_t size) {
    Prepare(size);
    for (std::size_t from = 0; from << 6 < size; from += kListWords) Classify(base, size, from);
    return Good(base, 0, size);
  }

  bool Good(const char* base, std::size_t begin, std::size_t end) const {
    return LineGoodFast<Units, kVector>(rule_, base, marks_.data(), begin, end);
  }

  // Judges the lines that end in the words [from, to) of the units [0, units), the first
  // starting at line, which moves past each; the lines independent of each other, so that their
  // verdicts overlap. Stops at a NUL, whose offset it returns (SIZE_MAX for none), and at a CR
  // that ends the units (its LF, if any, opens the next block).
  std::size_t Judge(const char* base, std::size_t units, std::size_t from, std::size_t to,
                    std::size_t& line) {
    constexpr std::size_t k = Units::kSize;
    // The loop's own copy, which nothing else can reach: its fields stay in registers.
    const ScanRule rule = rule_;
    const std::size_t found = listBits_(ends_.data(), from, to, listed_.data());
    count_ = 0;
    for (std::size_t i = 0; i < found; ++i) {
      const std::size_t q = (from << 6) + listed_[i];
      if (q < line) continue;  // an LF that opened the block after its CR
      const unsigned unit = Units::At(base + q);
      if (unit == 0) return q;
      ++lines_;
      Judged& next = judged_[count_++];
      next.begin = line;
      next.end = q;
      next.good = LineGoodFast<Units, kVector>(rule, base, marks_.data(), line, q);
      next.crlf = unit == '\r' && q + k < units && Units::At(base + q + k) == '\n';
      line = q + (next.crlf ? 2 * k : k);
    }
    return SIZE_MAX;
  }

  // The lines the last Judge judged, in order.
  const Judged* begin() const { return judged_.data(); }
  const Judged* end() const { return judged_.data() + count_; }
  // Lines ended so far.
  std::uint64_t Lines() const { return lines_; }

 private:
  const ScanRule rule_;
  const ClassifyFunction classify_;
  const ListBitsFunction listBits_;
  std::vector<std::uint64_t> ends_, marks_;
  std::vector<std::uint32_t> listed_;
  std::vector<Judged> judged_;
  std::size_t count_ = 0;
  std::uint64_t lines_ = 0;
};

}  // namespace scan_detail

// Calls sink.Line(begin, end, good, crlfFollows) for each line of the stream, in the same lines
// and with the same line-end rules as ForEachStreamedLineIn (CR LF, a lone CR or a lone LF ends a
// line; a NUL ends the text), and sink.Pause() before the block the lines point into is reused:
// a line's bytes, the 64 bytes from its start and its CR LF when crlfFollows stay valid until
// then. Memory is one block and its two masks, more only for a line longer than a block. When a
// NUL ended the text and more of the input followed it, nulLine (if given) is set to the NUL's
// line, counted from 1.
template <class Units, bool kVector, class Sink>
StreamEnd ScanStreamedLinesBy(ByteSource& source, std::size_t blockSize, const ScanRule& rule,
                              const ScanKernels& kernels, Sink& sink, std::uint64_t* nulLine) {
  using scan_detail::kListWords;
  BlockReader<Units> reader(source, blockSize, kScanSlack);
  scan_detail::LineScanner<Units, kVector> scanner(rule, kernels);
  for (;;) {
    const BlockRead read = reader.Next();
    if (read == BlockRead::Failed) return StreamEnd::ReadFailed;
    if (read == BlockRead::OddLength) return StreamEnd::OddLength;
    const char* const base = reader.Data();
    if (read == BlockRead::End) {
      const std::size_t size = reader.Size();
      if (size > 0) sink.Line(base, base + size, scanner.LastLineGood(base, size), false);
      sink.Pause();
      return StreamEnd::Complete;
    }
    const std::size_t units = reader.UnitBytes();
    std::size_t line = reader.First();
    scanner.Prepare(units);
    scanner.Classify(base, units, 0);
    const std::size_t words = (units + 63) / 64;
    // For each stretch: classify the next (a line's window of marks reaches into it), list the
    // line ends and judge the lines, then hand them out in order.
    for (std::size_t from = 0; from < words; from += kListWords) {
      const std::size_t to = from + kListWords < words ? from + kListWords : words;
      scanner.Classify(base, units, to);
      const std::size_t nul = scanner.Judge(base, units, from, to, line);
      for (const auto& judged : scanner) {
        sink.Line(base + judged.begin, base + judged.end, judged.good, judged.crlf);
      }
      if (nul != SIZE_MAX) {
        // The units before a NUL on its line still form a line; nothing after it is read.
        if (nulLine != nullptr && reader.MoreAfter(nul)) *nulLine = scanner.Lines() + 1;
        if (nul > line) sink.Line(base + line, base + nul, scanner.Good(base, line, nul), false);
        sink.Pause();
        return StreamEnd::Complete;
      }
    }
    sink.Pause();
    reader.Carry(line);
  }
}

template <class Units, class Sink>
StreamEnd ScanStreamedLines(ByteSource& source, std::size_t blockSize, const ScanRule& rule,
                            const ScanKernels& kernels, Sink& sink,
                            std::uint64_t* nulLine = nullptr) {
  if (kernels.vectorDigits) {
    return ScanStreamedLinesBy<Units, true>(source, blockSize, rule, kernels, sink, nulLine);
  }
  return ScanStreamedLinesBy<Units, false>(source, blockSize, rule, kernels, sink, nulLine);
}

}  // namespace sipo
