// line_scan_sse2.cpp - the line loop's classification 16 bytes at a time, with SSE2, which every
// x86-64 processor has.
#include "batch/scan_kernel_parts.h"

#ifdef SIPO_SCAN_X86
#include <emmintrin.h>

#include "batch/stride_classify.h"

namespace sipo::scan_kernels {
namespace {

// 64 bytes as four 16-byte registers.
struct Sse2Stride {
  using Splat = __m128i;
  static Splat Byte(char byte) { return _mm_set1_epi8(byte); }
  static Splat Unit(std::uint16_t loaded) { return _mm_set1_epi16(static_cast<short>(loaded)); }

  explicit Sse2Stride(const char* p) {
    for (int i = 0; i < 4; ++i)
      v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
  }
  std::uint64_t Bytes(Splat byte) const {
    std::uint64_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= Mask(_mm_cmpeq_epi8(v[i], byte)) << (16 * i);
    return bits;
  }
  // Both bytes of an equal unit have their bit.
  std::uint64_t Units(Splat unit) const {
    std::uint64_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= Mask(_mm_cmpeq_epi16(v[i], unit)) << (16 * i);
    return bits;
  }

 private:
  static std::uint64_t Mask(__m128i hits) {
    return static_cast<std::uint16_t>(_mm_movemask_epi8(hits));
  }
  __m128i v[4];
};

}  // namespace

ClassifyFunction Sse2ClassifierFor(const ScanRule& rule) {
  return StrideClassifierFor<Sse2Stride>(rule);
}

}  // namespace sipo::scan_kernels
#endif
