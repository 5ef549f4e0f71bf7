// stride_classify.h - the line loop's classification, written once for any instruction set: a
// Stride type loads 64 bytes and compares them with a byte or a 16-bit unit, giving a 64-bit mask
// (one bit a byte). Each instruction set's file defines its Stride and instantiates the algorithm.
//
// Everything here has internal linkage and calls no library template: a file compiled for AVX2
// must not give the linker a copy of a shared inline function that another file then runs on a
// processor without AVX2.
#pragma once

#include <cstddef>
#include <cstdint>

#include "batch/scan_kernels.h"

namespace sipo::scan_kernels {
namespace {

// The offset of the lowest set bit; 64 for none.
inline unsigned LowestBit(std::uint64_t word) {
  return word == 0 ? 64u : static_cast<unsigned>(__builtin_ctzll(word));
}

// The bits of the last word that lie at size or beyond are cleared: the stride read past the
// units' end.
inline void ClearTail(std::uint64_t* ends, std::uint64_t* marks, std::size_t size) {
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

// A UTF-16 unit as a little-endian 16-bit load of its two bytes sees it.
inline std::uint16_t Loaded(unsigned unit, bool bigEndian) {
  const unsigned loaded = bigEndian ? ((unit & 0xFF) << 8 | (unit >> 8 & 0xFF)) : unit & 0xFFFF;
  return static_cast<std::uint16_t>(loaded);
}

// One bit for each UTF-16 unit, at its first byte.
constexpr std::uint64_t kUnitStarts = 0x5555555555555555ULL;

// Bytes: a mark of kMark bytes starts where each of its bytes stands at its offset.
template <class Stride, std::size_t kMark>
void ClassifyBytes(const ScanRule& rule, const char* p, std::size_t size, bool crBefore,
                   std::uint64_t* ends, std::uint64_t* marks) {
  using Splat = typename Stride::Splat;
  const Splat cr = Stride::Byte('\r'), lf = Stride::Byte('\n'), nul = Stride::Byte(0);
  Splat mark[kMark];
  for (std::size_t i = 0; i < kMark; ++i) mark[i] = Stride::Byte(rule.mark[i]);
  std::uint64_t carry = crBefore;
  for (std::size_t w = 0; w < (size + 63) / 64; ++w) {
    const char* const s = p + w * 64;
    const Stride bytes(s);
    std::uint64_t found = bytes.Bytes(mark[0]);
    for (std::size_t i = 1; i < kMark; ++i) found &= Stride(s + i).Bytes(mark[i]);
    ends[w] = LineEnds(bytes.Bytes(cr), bytes.Bytes(lf), bytes.Bytes(nul), carry, 1);
    marks[w] = found;
  }
  ClearTail(ends, marks, size);
}

// UTF-16: each unit's bit stands at its first byte.
template <class Stride>
void ClassifyUnits(const ScanRule& rule, const char* p, std::size_t size, bool crBefore,
                   std::uint64_t* ends, std::uint64_t* marks) {
  using Splat = typename Stride::Splat;
  const Splat cr = Stride::Unit(Loaded('\r', rule.bigEndian));
  const Splat lf = Stride::Unit(Loaded('\n', rule.bigEndian));
  const Splat nul = Stride::Unit(0);
  const Splat mark = Stride::Unit(Loaded(rule.markUnit, rule.bigEndian));
  std::uint64_t carry = crBefore;
  for (std::size_t w = 0; w < (size + 63) / 64; ++w) {
    const Stride units(p + w * 64);
    ends[w] = LineEnds(units.Units(cr) & kUnitStarts, units.Units(lf) & kUnitStarts,
                       units.Units(nul) & kUnitStarts, carry, 2);
    marks[w] = units.Units(mark) & kUnitStarts;
  }
  ClearTail(ends, marks, size);
}

template <class Stride>
ClassifyFunction StrideClassifierFor(const ScanRule& rule) {
  if (rule.unitSize == 2) return ClassifyUnits<Stride>;
  switch (rule.markSize) {
    case 1:
      return ClassifyBytes<Stride, 1>;
    case 2:
      return ClassifyBytes<Stride, 2>;
    case 3:
      return ClassifyBytes<Stride, 3>;
    default:
      return ClassifyBytes<Stride, 4>;
  }
}

// Lists the set bits four at a time whatever their number, then one at a time: a branch on the
// number would miss as often as not, and a word of a usual text (lines of 12 to 40 bytes) holds
// two to five. countOf is the word's bit count.
template <class Count>
inline std::size_t ListBitsBy(const std::uint64_t* bits, std::size_t from, std::size_t to,
                              std::uint32_t* out, Count&& countOf) {
  std::size_t count = 0;
  for (std::size_t w = from; w < to; ++w) {
    std::uint64_t word = bits[w];
    const auto at = static_cast<std::uint32_t>((w - from) << 6);
    const std::size_t n = countOf(word);
    for (std::size_t j = 0; j < 4; ++j) {
      out[count + j] = at + LowestBit(word);
      word &= word - 1;
    }
    for (std::size_t j = 4; j < n; ++j) {
      out[count + j] = at + LowestBit(word);
      word &= word - 1;
    }
    count += n;
  }
  return count;
}

}  // namespace
}  // namespace sipo::scan_kernels
