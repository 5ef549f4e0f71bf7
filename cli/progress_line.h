// progress_line.h - the file run's progress as one line on a terminal, redrawn in place: how much
// of the input is read, the lines so far, good and bad, the rate and the time left.
#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>

#include "batch/run_monitor.h"

namespace sipo::cli {

class ProgressLine : public RunMonitor {
 public:
  using Clock = std::chrono::steady_clock::time_point (*)();
  static constexpr std::chrono::milliseconds kFirstAfter{1000};
  static constexpr std::chrono::milliseconds kRedrawEvery{250};
  static constexpr std::size_t kWidest = 79;

  // The line goes to out; the clock is read on every block, so it must be cheap.
  ProgressLine(std::ostream& out, Clock clock = std::chrono::steady_clock::now);
  // Nothing shows for a run shorter than kFirstAfter; then at most one redraw every kRedrawEvery.
  void Progress(const RunProgress& progress) override;
  bool StopRequested() override { return false; }
  // Blanks the line and returns to its start, so that what follows has a clean line; nothing when
  // no line was drawn.
  void Erase();

  // The line's text, for a run that has lasted elapsed.
  static std::string Text(const RunProgress& progress, std::chrono::duration<double> elapsed);

 private:
  std::ostream& out_;
  Clock clock_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point drawn_;
  std::size_t width_ = 0;  // of the line on screen, 0 when none
};

}  // namespace sipo::cli
