// interruption.cpp - the registry of temporaries that an interruption removes, and the run's
// phases that tell whether it still may.
#include "files/interruption.h"

#include <array>
#include <atomic>
#include <cstring>

#include "files/temporary_files_platform.h"

namespace sipo {
namespace {

// Names are copied into fixed slots, so that a signal handler can remove them without
// allocating. A slot is free (0), being filled (1) or holds a temporary (2). POSIX keeps the
// name relative to the open folder, so that a target near the path limit still has a temporary.
constexpr std::size_t kSlots = 8;
constexpr std::size_t kPathCapacity = 4096;
struct Slot {
  std::atomic<int> state{0};
  std::atomic<int> folderFd{-1};
  std::atomic<int> fd{-1};
  NativeChar path[kPathCapacity];
};
std::array<Slot, kSlots> slots;

// Sorting, then either Committing or Interrupted; LateStop records an interruption that came
// while committing.
enum Phase : int { kSorting, kCommitting, kInterrupted };
std::atomic<int> phase{kSorting};
std::atomic<bool> lateStop{false};
std::atomic<const char*> interruptMessage{nullptr};
std::atomic<const char*> pipeClosedMessage{nullptr};
std::atomic<bool> interruptReported{false};

}  // namespace

int RegisterTemporary(const std::filesystem::path& temporary, int folderFd) {
  const std::filesystem::path::string_type native = RegisteredName(temporary);
  if (native.size() >= kPathCapacity) return -1;
  for (std::size_t i = 0; i < kSlots; ++i) {
    int expected = 0;
    if (!slots[i].state.compare_exchange_strong(expected, 1)) continue;
    std::memcpy(slots[i].path, native.c_str(), (native.size() + 1) * sizeof(NativeChar));
    slots[i].folderFd.store(folderFd);
    slots[i].fd.store(-1);
    slots[i].state.store(2);
    return static_cast<int>(i);
  }
  return -1;
}

void AttachTemporaryFile(int slot, int fd) {
  if (slot >= 0) slots[static_cast<std::size_t>(slot)].fd.store(fd);
}

bool TakeBackTemporaryFile(int slot) {
  if (slot < 0) return true;
  return slots[static_cast<std::size_t>(slot)].fd.exchange(-1) >= 0;
}

void UnregisterTemporary(int slot) {
  if (slot >= 0) slots[static_cast<std::size_t>(slot)].state.store(0);
}

bool HasRegisteredTemporaries() {
  for (const auto& slot : slots) {
    if (slot.state.load() != 0) return true;
  }
  return false;
}

bool IsRegisteredTemporary(const std::filesystem::path& temporary) {
  const std::filesystem::path::string_type native = RegisteredName(temporary);
  for (const auto& slot : slots) {
    if (slot.state.load() == 2 && native == slot.path) return true;
  }
  return false;
}

void RemoveRegisteredTemporaries() {
  for (auto& slot : slots) {
    if (slot.state.load() == 2) RemoveRegisteredName(slot.folderFd.load(), slot.fd, slot.path);
  }
}

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

}  // namespace sipo
