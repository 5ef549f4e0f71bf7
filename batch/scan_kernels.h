// scan_kernels.h - the line loop's kernels, one entry for each instruction set it is built for,
// and the one place where the entry a run uses is chosen. An entry names every instruction set
// its functions are compiled for; it is taken only on a processor that has them all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sipo {

// What a block is classified for: its units, line ends, and the mark that cuts its fields.
struct ScanRule {
  std::size_t unitSize = 1;  // 1: bytes; 2: UTF-16 units
  bool bigEndian = false;
  bool singleColumn = false;
  bool quoted = false;
  std::int32_t column = 0;
  char mark[4] = {';'};      // bytes: the delimiter's bytes (a UTF-8 character's too), or the quote
  std::size_t markSize = 1;  // in bytes: 1 to 4 for a byte text, one unit for UTF-16
  unsigned markUnit = ';';   // UTF-16: the delimiter's or the quote's unit
};

// Bytes after a block's data that the classification and the digit test may read: they are
// zeroed before a block is classified, so that no mark is found across the data's end.
inline constexpr std::size_t kScanSlack = 128;

// Instruction sets a kernel may be compiled for, as bits.
enum CpuFeature : std::uint32_t {
  kCpuSse2 = 1,
  kCpuAvx2 = 2,
  kCpuBmi1 = 4,
  kCpuBmi2 = 8,
  kCpuPopcnt = 16,
};

// The instruction sets of this processor, asked once.
std::uint32_t CpuFeaturesHere();
// The features' names, comma-separated ("bmi1, bmi2").
std::string CpuFeatureNames(std::uint32_t features);

// Sets, for each unit in [p, p + size), the bit of its offset in ends when it ends a line (a CR,
// a NUL, or an LF that follows no CR: the LF of a CR LF has its CR's bit; crBefore tells whether
// the unit before p is a CR), and in marks when a field mark starts there. Writes
// (size + 63) / 64 words of each; the bits at size and beyond are clear. p is a unit's start, and
// kScanSlack readable bytes follow size.
using ClassifyFunction = void (*)(const ScanRule& rule, const char* p, std::size_t size,
                                  bool crBefore, std::uint64_t* ends, std::uint64_t* marks);

// The offsets of the set bits of words [from, to), from the first bit of word from, in order,
// into out, which holds 8 entries more than the bits can number; returns how many.
using ListBitsFunction = std::size_t (*)(const std::uint64_t* bits, std::size_t from,
                                         std::size_t to, std::uint32_t* out);

struct ScanKernels {
  const char* name;     // as SIPO_SCAN_PATH names it
  std::uint32_t needs;  // CpuFeature bits: every set the functions are compiled for
  bool vectorDigits;    // a number's ten digits are tested with SSE2
  ClassifyFunction (*classifierFor)(const ScanRule& rule);  // asked once a run
  ListBitsFunction listBits;
};

// Every entry, the widest first; the last, the scalar reference, runs everywhere.
std::span<const ScanKernels> AllScanKernels();

inline bool KernelsRunOn(const ScanKernels& kernels, std::uint32_t features) {
  return (kernels.needs & ~features) == 0;
}

// The first entry this processor runs, chosen once.
const ScanKernels& FastestScanKernels();

// The environment variable that forces an entry by its name.
inline constexpr const char* kScanPathVariable = "SIPO_SCAN_PATH";

// The entry called name on a processor of these features; null, with the reason in refusal, when
// no entry is called so or the processor lacks a feature the entry needs.
struct ScanKernelsChoice {
  const ScanKernels* kernels = nullptr;
  std::string refusal;
};
ScanKernelsChoice ChooseScanKernels(std::string_view name, std::uint32_t features);

// The kernels a run uses: those SIPO_SCAN_PATH names when it names an entry this processor runs,
// otherwise the fastest. (sipocheck refuses a variable that names no such entry before any run.)
const ScanKernels& RunScanKernels();

}  // namespace sipo
