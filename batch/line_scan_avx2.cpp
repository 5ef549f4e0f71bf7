// line_scan_avx2.cpp - the line loop's classification 32 bytes at a time with AVX2, and its bit
// listing with POPCNT, TZCNT and BLSR. The file is compiled for AVX2, BMI1, BMI2 and POPCNT, so
// the kernel table takes it only on a processor that has all four.
#include "batch/scan_kernel_parts.h"

#ifdef SIPO_SCAN_X86
#include <immintrin.h>

#include "batch/stride_classify.h"

namespace sipo::scan_kernels {
namespace {

// 64 bytes as two 32-byte registers.
struct Avx2Stride {
  using Splat = __m256i;
  static Splat Byte(char byte) { return _mm256_set1_epi8(byte); }
  static Splat Unit(std::uint16_t loaded) { return _mm256_set1_epi16(static_cast<short>(loaded)); }

  explicit Avx2Stride(const char* p)
      : low(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))),
        high(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32))) {}
  std::uint64_t Bytes(Splat byte) const {
    return Mask(_mm256_cmpeq_epi8(low, byte)) | Mask(_mm256_cmpeq_epi8(high, byte)) << 32;
  }
  // Both bytes of an equal unit have their bit.
  std::uint64_t Units(Splat unit) const {
    return Mask(_mm256_cmpeq_epi16(low, unit)) | Mask(_mm256_cmpeq_epi16(high, unit)) << 32;
  }

 private:
  static std::uint64_t Mask(__m256i hits) {
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(hits));
  }
  __m256i low, high;
};

}  // namespace

ClassifyFunction Avx2ClassifierFor(const ScanRule& rule) {
  return StrideClassifierFor<Avx2Stride>(rule);
}

std::size_t ListBitsBmi(const std::uint64_t* bits, std::size_t from, std::size_t to,
                        std::uint32_t* out) {
  return ListBitsBy(bits, from, to, out, [](std::uint64_t word) {
    return static_cast<std::size_t>(__builtin_popcountll(word));
  });
}

}  // namespace sipo::scan_kernels
#endif
