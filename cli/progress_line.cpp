// progress_line.cpp - the file run's progress as one line on a terminal, redrawn in place.
#include "cli/progress_line.h"

#include <cinttypes>
#include <cstdio>
#include <ostream>

namespace sipo::cli {
namespace {

// "12.3 MB": one decimal, binary multiples as the rest of the system counts file sizes.
std::string Size(double bytes) {
  static const char* const kUnits[] = {"B", "KB", "MB", "GB", "TB"};
  int unit = 0;
  while (bytes >= 1024 && unit < 4) {
    bytes /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, kUnits[unit]);
  return text;
}

std::string Duration(double seconds) {
  const auto whole = static_cast<std::uint64_t>(seconds + 0.5);
  char text[32];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%" PRIu64 ":%02" PRIu64 ":%02" PRIu64, whole / 3600,
                  whole / 60 % 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%" PRIu64 ":%02" PRIu64, whole / 60, whole % 60);
  }
  return text;
}

}  // namespace

ProgressLine::ProgressLine(std::ostream& out, Clock clock)
    : out_(out), clock_(clock), start_(clock()), drawn_(start_) {}

std::string ProgressLine::Text(const RunProgress& progress, std::chrono::duration<double> elapsed) {
  const double seconds = elapsed.count() > 0 ? elapsed.count() : 1e-9;
  const double rate = static_cast<double>(progress.lines) / seconds;
  char counts[96];
  std::snprintf(counts, sizeof counts, " | %" PRIu64 " lines: %" PRIu64 " good, %" PRIu64 " bad | ",
                progress.lines, progress.good, progress.lines - progress.good);
  char perSecond[32];
  std::snprintf(perSecond, sizeof perSecond, rate >= 1e6 ? "%.1f M lines/s" : "%.0f lines/s",
                rate >= 1e6 ? rate / 1e6 : rate);
  const double read = static_cast<double>(progress.bytesRead);
  std::string text;
  if (progress.inputSize <= 0) {
    text = Size(read) + " read" + counts + perSecond;
  } else {
    const double size = static_cast<double>(progress.inputSize);
    char percent[16];
    std::snprintf(percent, sizeof percent, "%.0f %%", (read < size ? read / size : 1.0) * 100);
    text = percent + (counts + std::string(perSecond));
    if (read > 0) text += " | " + Duration(seconds * (size - read) / read) + " left";
  }
  // A line wider than the terminal would wrap, and the next one could not be drawn over it.
  if (text.size() > kWidest) text.resize(kWidest);
  return text;
}

void ProgressLine::Progress(const RunProgress& progress) {
  const auto now = clock_();
  if (now - start_ < kFirstAfter || (width_ > 0 && now - drawn_ < kRedrawEvery)) return;
  drawn_ = now;
  std::string text = Text(progress, now - start_);
  const std::size_t width = text.size();
  // A shorter line than the last one also blanks the rest of the last one.
  if (width < width_) text.append(width_ - width, ' ');
  width_ = width;
  out_ << ('\r' + text) << std::flush;
}

void ProgressLine::Erase() {
  if (width_ == 0) return;
  out_ << ('\r' + std::string(width_, ' ') + '\r') << std::flush;
  width_ = 0;
}

}  // namespace sipo::cli
