// interruption.h - how an interruption (a signal, a console's Ctrl-C) ends a file run: the
// temporaries it removes, the line it reports, and the moment from which it no longer stops the
// run. Safe to use from a signal handler or a console handler's thread.
#pragma once

#include <filesystem>

namespace sipo {

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

// POSIX: SIGINT, SIGTERM, SIGHUP and SIGPIPE (the reader of an output on a pipe went away), while
// the run sorts, remove the registered temporaries, write the interruption message if one is set,
// then end the process as the signal would have; while the outputs are replaced they are only
// remembered (LateInterrupt).
void InstallInterruptCleanup();

// The line that reports an interruption while outputs are being written (a string with static
// storage, or nullptr for none). Only one report is made: the first to claim it writes it.
void SetInterruptMessage(const char* line);
const char* InterruptMessage();
// The same for SIGPIPE: a reader that closed its end of an output is no interruption by the user,
// and is reported as what it is. Without one, the interruption's line is written.
void SetPipeClosedMessage(const char* line);
const char* PipeClosedMessage();
bool ClaimInterruptReport();

// A run goes through two phases: it sorts into its temporaries, where an interruption ends it
// with both outputs untouched, then replaces the outputs, where an interruption no longer can:
// the replacement completes and the interruption is remembered as having come too late. Either
// the run's commit or the interruption comes first, never both.
//
// Asks the run to stop: true when it was still sorting (the caller may then remove the
// temporaries and end it), false when the outputs are already being replaced.
bool RequestInterrupt();
// An interruption that came while the run was sorting.
bool InterruptRequested();
// Enters the replacement of the outputs: false when an interruption came first.
bool BeginCommit();
// An interruption that came after BeginCommit: the outputs were replaced all the same.
bool LateInterrupt();
// For a new run in a process that saw an interruption (tests).
void ClearInterrupt();

}  // namespace sipo
