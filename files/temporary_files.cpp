// temporary_files.cpp - names, interruption cleanup and stale removal of temporary files.
#include "files/temporary_files.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#include <csignal>
#endif

namespace sipo {
namespace {

constexpr std::string_view kPrefix = ".sipo-";
constexpr std::string_view kSuffix = ".tmp";

// FNV-1a over the target's name as the platform spells it.
std::uint64_t NameHash(const std::filesystem::path& target) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const auto c : target.native()) {
    hash ^= static_cast<std::uint64_t>(c);
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
  return std::string(kPrefix) + Hex16(NameHash(std::filesystem::absolute(target))) + "-";
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

#ifndef _WIN32
bool ProcessExists(std::uint64_t process) {
  return kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}
#endif

// Paths are copied into fixed slots, so that a signal handler can remove them without
// allocating. A slot is free (0), being filled (1) or holds a path (2).
constexpr std::size_t kSlots = 8;
constexpr std::size_t kPathCapacity = 4096;
using NativeChar = std::filesystem::path::value_type;
std::array<std::atomic<int>, kSlots> slotStates{};
NativeChar slotPaths[kSlots][kPathCapacity];

std::atomic<bool> interruptRequested{false};

#ifndef _WIN32
void RemoveRegisteredAndReraise(int signal) {
  for (std::size_t i = 0; i < kSlots; ++i) {
    if (slotStates[i].load() == 2) unlink(slotPaths[i]);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}
#endif

}  // namespace

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, std::uint64_t process,
                                       std::uint64_t counter) {
  std::string name = TargetStem(target);
  name.append(std::to_string(process)).append("-").append(std::to_string(counter)).append(kSuffix);
  return target.parent_path() / name;
}

std::uint64_t CurrentProcessId() {
#ifdef _WIN32
  return static_cast<std::uint64_t>(_getpid());
#else
  return static_cast<std::uint64_t>(getpid());
#endif
}

// On Windows no process is asked: a temporary that its live process holds open cannot be
// removed, so trying is the test.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
  const std::string stem = TargetStem(target);
  const std::filesystem::path folder =
      target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) return;
  const std::uint64_t self = CurrentProcessId();
  for (const auto& entry : entries) {
    std::uint64_t process = 0;
    if (!ProcessOfName(entry.path().filename().string(), stem, process) || process == self)
      continue;
#ifndef _WIN32
    if (ProcessExists(process)) continue;
#endif
    std::error_code ignored;
    std::filesystem::remove(entry.path(), ignored);
  }
}

int RegisterTemporary(const std::filesystem::path& temporary) {
  const auto& native = temporary.native();
  if (native.size() >= kPathCapacity) return -1;
  for (std::size_t i = 0; i < kSlots; ++i) {
    int expected = 0;
    if (!slotStates[i].compare_exchange_strong(expected, 1)) continue;
    std::memcpy(slotPaths[i], native.c_str(), (native.size() + 1) * sizeof(NativeChar));
    slotStates[i].store(2);
    return static_cast<int>(i);
  }
  return -1;
}

void UnregisterTemporary(int slot) {
  if (slot >= 0) slotStates[static_cast<std::size_t>(slot)].store(0);
}

bool HasRegisteredTemporaries() {
  for (const auto& state : slotStates) {
    if (state.load() != 0) return true;
  }
  return false;
}

void InstallInterruptCleanup() {
#ifndef _WIN32
  struct sigaction action {};
  action.sa_handler = RemoveRegisteredAndReraise;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal that the caller ignores (a job started in the background) stays ignored.
    struct sigaction previous {};
    if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
#endif
}

void RequestInterrupt() {
  interruptRequested.store(true);
}

bool InterruptRequested() {
  return interruptRequested.load(std::memory_order_relaxed);
}

}  // namespace sipo
