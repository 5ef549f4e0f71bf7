// file_run_caption.cpp - what FileButton reads while a file run lasts.
#include "ui/forms/file_run_caption.h"

#include <cstdint>

namespace sipo::ui {
namespace {

constexpr const char* kStop =
    "P\xF8"
    "eru\x9Ait";  // Přerušit

// The Czech noun after a count: 1 řádek, 2 to 4 řádky, otherwise řádků.
constexpr const char* kLine =
    "\xF8\xE1"
    "dek";
constexpr const char* kFewLines =
    "\xF8\xE1"
    "dky";
constexpr const char* kManyLines =
    "\xF8\xE1"
    "dk\xF9";

const char* LinesWord(std::uint64_t lines) {
  if (lines == 1) return kLine;
  return lines >= 2 && lines <= 4 ? kFewLines : kManyLines;
}

}  // namespace

// Whole percent, rounded down, so that 100 % shows only once all is read.
std::string StopButtonCaption(const RunProgress* progress) {
  std::string caption = kStop;
  if (progress == nullptr) return caption;
  if (progress->inputSize > 0) {
    const auto size = static_cast<std::uint64_t>(progress->inputSize);
    const std::uint64_t read = progress->bytesRead < size ? progress->bytesRead : size;
    return caption + " (" + std::to_string(read * 100 / size) + " %)";
  }
  if (progress->inputSize == 0) return caption + " (100 %)";
  return caption + " (" + std::to_string(progress->lines) + " " + LinesWord(progress->lines) + ")";
}

double ReadFraction(const RunProgress& progress) {
  if (progress.inputSize < 0) return -1.0;
  if (progress.inputSize == 0) return 1.0;
  const double fraction =
      static_cast<double>(progress.bytesRead) / static_cast<double>(progress.inputSize);
  return fraction < 1.0 ? fraction : 1.0;
}

}  // namespace sipo::ui
