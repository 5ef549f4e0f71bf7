// scan_path.cpp - the line loop sipocheck's file runs take, and the refusal of one forced that
// this processor cannot run.
#include "cli/scan_path.h"

#include <cstdlib>

#include "batch/scan_kernels.h"

namespace sipo::cli {

std::optional<std::string> ScanPathRefusal() {
  const char* forced = std::getenv(kScanPathVariable);
  if (forced == nullptr || *forced == '\0') return std::nullopt;
  ScanKernelsChoice choice = ChooseScanKernels(forced, CpuFeaturesHere());
  if (choice.kernels != nullptr) return std::nullopt;
  return std::string(kScanPathVariable) + ": " + choice.refusal;
}

std::string ScanPathLine() {
  return std::string("line loop: ") + RunScanKernels().name;
}

}  // namespace sipo::cli
