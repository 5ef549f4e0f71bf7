// temporary_files.h - the temporary files that an atomic replacement writes beside its target:
// short names that say which target and which process they belong to, removal when the process
// is interrupted, and removal of those that a killed process left behind.
#pragma once

#include <cstdint>
#include <filesystem>

namespace sipo {

// ".sipo-" and 16 hexadecimal digits naming the target, then the process and a counter:
// short, so that it fits wherever the target's own name fits.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, std::uint64_t process,
                                       std::uint64_t counter);

std::uint64_t CurrentProcessId();

// Removes the temporaries of this target whose process no longer exists.
void RemoveStaleTemporaries(const std::filesystem::path& target);

// A temporary that an interruption removes. Register returns a slot, or -1 when all are taken
// (the file is then left for the next run to remove).
int RegisterTemporary(const std::filesystem::path& temporary);
void UnregisterTemporary(int slot);
bool HasRegisteredTemporaries();

// POSIX: SIGINT, SIGTERM and SIGHUP remove the registered temporaries, then end the process as
// the signal would have.
void InstallInterruptCleanup();

// Where a console's control event arrives on another thread (Windows), the file run stops at its
// next block and removes its temporaries itself, since a file still open cannot be removed there.
void RequestInterrupt();
bool InterruptRequested();

}  // namespace sipo
