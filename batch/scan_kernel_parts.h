// scan_kernel_parts.h - each instruction set's line loop functions, which the kernel table in
// scan_kernels.cpp lists. Each set's are compiled in a file of their own, with its flags.
#pragma once

#include "batch/scan_kernels.h"

namespace sipo::scan_kernels {

// One unit at a time, on every processor: the reference the others are tested against.
ClassifyFunction ScalarClassifierFor(const ScanRule& rule);
// Counts bits with arithmetic alone.
std::size_t ListBitsPortable(const std::uint64_t* bits, std::size_t from, std::size_t to,
                             std::uint32_t* out);

#if defined(__x86_64__) || defined(__i386__)
#define SIPO_SCAN_X86 1
// 16 bytes at a time (line_scan_sse2.cpp).
ClassifyFunction Sse2ClassifierFor(const ScanRule& rule);
// 32 bytes at a time (line_scan_avx2.cpp, compiled for AVX2, BMI1, BMI2 and POPCNT).
ClassifyFunction Avx2ClassifierFor(const ScanRule& rule);
// With POPCNT, TZCNT and BLSR (line_scan_avx2.cpp).
std::size_t ListBitsBmi(const std::uint64_t* bits, std::size_t from, std::size_t to,
                        std::uint32_t* out);
#endif

}  // namespace sipo::scan_kernels
