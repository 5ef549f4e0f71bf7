// temporary_registry.h - the temporaries an interruption (a signal, a console's Ctrl-C) removes
// before the process ends. Safe to use from a signal handler or a console handler's thread.
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
// Whether any temporary is registered (for tests).
bool HasRegisteredTemporaries();
bool IsRegisteredTemporary(const std::filesystem::path& temporary);

// Closes and removes every registered temporary. Safe in a signal handler, and on Windows from a
// console handler's thread while the run is blocked in a read.
void RemoveRegisteredTemporaries();

}  // namespace sipo
