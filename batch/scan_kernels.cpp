// scan_kernels.cpp - the table of the line loop's kernels and the choice among them.
#include "batch/scan_kernels.h"

#include <cstdlib>

#include "batch/scan_kernel_parts.h"

namespace sipo {
namespace {

using namespace scan_kernels;

const ScanKernels kKernels[] = {
#ifdef SIPO_SCAN_X86
    {"avx2", kCpuAvx2 | kCpuBmi1 | kCpuBmi2 | kCpuPopcnt | kCpuSse2, true, Avx2ClassifierFor,
     ListBitsBmi},
    {"sse2", kCpuSse2, true, Sse2ClassifierFor, ListBitsPortable},
#endif
    {"scalar", 0, false, ScalarClassifierFor, ListBitsPortable},
};

struct FeatureName {
  std::uint32_t feature;
  const char* name;
};
const FeatureName kFeatureNames[] = {
    {kCpuSse2, "sse2"}, {kCpuAvx2, "avx2"},     {kCpuBmi1, "bmi1"},
    {kCpuBmi2, "bmi2"}, {kCpuPopcnt, "popcnt"},
};

std::uint32_t AskFeatures() {
  std::uint32_t features = 0;
#ifdef SIPO_SCAN_X86
  // The names must be literals, so each is asked on its own.
  __builtin_cpu_init();
  if (__builtin_cpu_supports("sse2")) features |= kCpuSse2;
  if (__builtin_cpu_supports("avx2")) features |= kCpuAvx2;
  if (__builtin_cpu_supports("bmi")) features |= kCpuBmi1;
  if (__builtin_cpu_supports("bmi2")) features |= kCpuBmi2;
  if (__builtin_cpu_supports("popcnt")) features |= kCpuPopcnt;
#endif
  return features;
}

std::string KernelNames() {
  std::string names;
  for (const ScanKernels& kernels : kKernels) {
    if (!names.empty()) names += ", ";
    names += kernels.name;
  }
  return names;
}

}  // namespace

std::uint32_t CpuFeaturesHere() {
  static const std::uint32_t features = AskFeatures();
  return features;
}

std::string CpuFeatureNames(std::uint32_t features) {
  std::string names;
  for (const FeatureName& feature : kFeatureNames) {
    if ((features & feature.feature) == 0) continue;
    if (!names.empty()) names += ", ";
    names += feature.name;
  }
  return names;
}

std::span<const ScanKernels> AllScanKernels() {
  return kKernels;
}

const ScanKernels& FastestScanKernels() {
  static const ScanKernels& fastest = []() -> const ScanKernels& {
    for (const ScanKernels& kernels : kKernels) {
      if (KernelsRunOn(kernels, CpuFeaturesHere())) return kernels;
    }
    return kKernels[std::size(kKernels) - 1];
  }();
  return fastest;
}

ScanKernelsChoice ChooseScanKernels(std::string_view name, std::uint32_t features) {
  ScanKernelsChoice choice;
  for (const ScanKernels& kernels : kKernels) {
    if (name != kernels.name) continue;
    if (KernelsRunOn(kernels, features)) {
      choice.kernels = &kernels;
    } else {
      choice.refusal = "the line loop '" + std::string(name) +
                       "' needs instruction sets this processor lacks: " +
                       CpuFeatureNames(kernels.needs & ~features);
    }
    return choice;
  }
  choice.refusal =
      "no line loop is called '" + std::string(name) + "' (there are: " + KernelNames() + ")";
  return choice;
}

const ScanKernels& RunScanKernels() {
  const char* forced = std::getenv(kScanPathVariable);
  if (forced != nullptr && *forced != '\0') {
    const ScanKernelsChoice choice = ChooseScanKernels(forced, CpuFeaturesHere());
    if (choice.kernels != nullptr) return *choice.kernels;
  }
  return FastestScanKernels();
}

}  // namespace sipo
