// line_scan.cpp - the line loop's scalar kernels, the reference the vector ones are tested
// against, and a run's scan rule.
#include "batch/line_scan.h"

#include <algorithm>

#include "batch/scan_kernel_parts.h"
#include "batch/stride_classify.h"

namespace sipo {
namespace {

using scan_kernels::ListBitsBy;

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

// The set bits of a word without a bit count instruction, which SSE2 processors may lack.
std::size_t CountBits(std::uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ULL;
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<std::size_t>((x * 0x0101010101010101ULL) >> 56);
}

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

}  // namespace scan_kernels
}  // namespace sipo
