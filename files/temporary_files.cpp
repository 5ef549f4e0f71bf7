// temporary_files.cpp - names, interruption cleanup and stale removal of temporary files.
#include "files/temporary_files.h"

#include <array>
#include <atomic>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

#include "files/temporary_files_platform.h"

namespace sipo {
namespace {

constexpr std::string_view kPrefix = ".sipo-";
constexpr std::string_view kSuffix = ".tmp";

// FNV-1a over the target's file name as the platform spells it; Windows ignores its case.
std::uint64_t NameHash(const std::filesystem::path& target) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  const std::filesystem::path name = target.filename();
  for (const NativeChar c : name.native()) {
    hash ^= static_cast<std::uint64_t>(NameCaseFolded(c));
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::string Hex16(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4)
    text[static_cast<std::size_t>(i)] = kDigits[value & 15];
  return text;
}

// "<prefix><hash>-" for the target, the part that all its temporaries share.
std::string TargetStem(const std::filesystem::path& target) {
  return std::string(kPrefix) + Hex16(NameHash(target)) + "-";
}

// The process a temporary's name gives after the stem, or nothing for a name of another kind.
bool ProcessOfName(std::string_view name, std::string_view stem, std::uint64_t& process) {
  if (name.substr(0, stem.size()) != stem || name.size() < stem.size() + kSuffix.size() ||
      name.substr(name.size() - kSuffix.size()) != kSuffix) {
    return false;
  }
  name = name.substr(stem.size(), name.size() - stem.size() - kSuffix.size());
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), process);
  return error == std::errc{} && end < name.data() + name.size() && *end == '-';
}

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

std::atomic<bool> interruptRequested{false};
std::atomic<const char*> interruptMessage{nullptr};
std::atomic<bool> interruptReported{false};

}  // namespace

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, std::uint64_t process,
                                       std::uint64_t counter) {
  std::string name = TargetStem(target);
  name.append(std::to_string(process)).append("-").append(std::to_string(counter)).append(kSuffix);
  return target.parent_path() / name;
}

void RemoveStaleTemporaries(const std::filesystem::path& target, int folderFd) {
  const std::string stem = TargetStem(target);
  const std::filesystem::path folder =
      target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) return;
  const std::uint64_t self = CurrentProcessId();
  for (const auto& entry : entries) {
    const std::filesystem::path name = entry.path().filename();
    std::uint64_t process = 0;
    if (!ProcessOfName(name.string(), stem, process)) continue;
    if (process == self && IsRegisteredTemporary(target.parent_path() / name)) continue;
    if (process != self && LeaveForRunningOwner(process)) continue;
    RemoveTemporary(folderFd, entry.path());
  }
}

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

const char* InterruptMessage() {
  return interruptMessage.load();
}

bool ClaimInterruptReport() {
  return !interruptReported.exchange(true);
}

void RequestInterrupt() {
  interruptRequested.store(true);
}

bool InterruptRequested() {
  return interruptRequested.load(std::memory_order_relaxed);
}

void ClearInterrupt() {
  interruptRequested.store(false);
  interruptReported.store(false);
}

}  // namespace sipo
