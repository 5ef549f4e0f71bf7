// temporary_files.h - the temporary files that an atomic replacement writes beside its target:
// short names that say which target and which process they belong to, removal when the process
// is interrupted, and removal of those that a killed process left behind.
#pragma once

#include <cstdint>
#include <filesystem>

namespace sipo {

// ".sipo-" and 16 hexadecimal digits naming the target, then the process and a counter: short,
// so that it fits wherever the target's own name fits. The digits come from the target's file
// name alone (its folder is the temporary's own), so however the folder was spelled, the same
// output gives the same names. On Windows the name's case does not count, as there.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, std::uint64_t process,
                                       std::uint64_t counter);

std::uint64_t CurrentProcessId();

// Removes the temporaries of this target that no running writer owns: those of a process that
// no longer exists, and those that carry this process's own id (ids are reused) without being
// registered here. folderFd is the open target folder on POSIX, where names are removed
// relative to it; -1 elsewhere.
void RemoveStaleTemporaries(const std::filesystem::path& target, int folderFd);

// A temporary that an interruption removes: by its name inside the open folder folderFd on POSIX,
// by its full path on Windows, where the file descriptor fd is closed first (an open file cannot
// be removed there). Register returns a slot, or -1 when all are taken (the file is then left
// for the next run to remove); the file is attached once it is open.
int RegisterTemporary(const std::filesystem::path& temporary, int folderFd);
void AttachTemporaryFile(int slot, int fd);
// True when the caller still owns the attached file and must close it; false once an
// interruption has closed it.
bool TakeBackTemporaryFile(int slot);
void UnregisterTemporary(int slot);
bool HasRegisteredTemporaries();
bool IsRegisteredTemporary(const std::filesystem::path& temporary);

// Closes and removes every registered temporary. Safe in a signal handler, and on Windows from a
// console handler's thread while the run is blocked in a read.
void RemoveRegisteredTemporaries();

// POSIX: SIGINT, SIGTERM and SIGHUP remove the registered temporaries, write the interruption
// message if one is set, then end the process as the signal would have.
void InstallInterruptCleanup();

// The line that reports an interruption while outputs are being written (a string with static
// storage, or nullptr for none). Only one report is made: the first to claim it writes it.
void SetInterruptMessage(const char* line);
const char* InterruptMessage();
bool ClaimInterruptReport();

// Where a console's control event arrives on another thread (Windows), the file run stops after
// its next read and removes its temporaries itself.
void RequestInterrupt();
bool InterruptRequested();
// For a new run in a process that saw an interruption (tests).
void ClearInterrupt();

}  // namespace sipo
