// interruption.cpp - the command-line run's phases, which tell whether an interruption still
// may stop it, and the line that reports one.
#include "cli/interruption.h"

#include <atomic>

namespace sipo::cli {
namespace {

// Sorting, then either Committing or Interrupted; LateStop records an interruption that came
// while committing.
enum Phase : int { kSorting, kCommitting, kInterrupted };
std::atomic<int> phase{kSorting};
std::atomic<bool> lateStop{false};
std::atomic<const char*> interruptMessage{nullptr};
std::atomic<const char*> pipeClosedMessage{nullptr};
std::atomic<bool> interruptReported{false};

}  // namespace

void SetInterruptMessage(const char* line) {
  interruptMessage.store(line);
}

void SetPipeClosedMessage(const char* line) {
  pipeClosedMessage.store(line);
}

const char* PipeClosedMessage() {
  return pipeClosedMessage.load();
}

const char* InterruptMessage() {
  return interruptMessage.load();
}

bool ClaimInterruptReport() {
  return !interruptReported.exchange(true);
}

bool RequestInterrupt() {
  int expected = kSorting;
  if (phase.compare_exchange_strong(expected, kInterrupted) || expected == kInterrupted)
    return true;
  lateStop.store(true);
  return false;
}

bool InterruptRequested() {
  return phase.load(std::memory_order_relaxed) == kInterrupted;
}

bool BeginCommit() {
  int expected = kSorting;
  return phase.compare_exchange_strong(expected, kCommitting) || expected == kCommitting;
}

bool LateInterrupt() {
  return lateStop.load();
}

void ClearInterrupt() {
  phase.store(kSorting);
  lateStop.store(false);
  interruptReported.store(false);
}

}  // namespace sipo::cli
