// temporary_files_platform.h - where the temporaries beside a target differ between platforms.
// POSIX names them relative to the target's open folder, so that a target whose own path is near
// the system's limit still has one; Windows names them by their full paths and ignores the
// names' case. temporary_files_posix.cpp and temporary_files_windows.cpp implement it; the
// portable rules of temporary_files.cpp and atomic_file.cpp use it.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace sipo {

using NativeChar = std::filesystem::path::value_type;

// Opens the target's folder for the calls below into folderFd; Windows needs none and leaves it
// -1. False when the folder cannot be opened.
bool OpenTargetFolder(const std::filesystem::path& target, int& folderFd);
// A temporary that must not exist yet, opened to write; -1 on failure, with errno set (EEXIST
// when the name is taken).
int CreateTemporary(int folderFd, const std::filesystem::path& temporary);
void RemoveTemporary(int folderFd, const std::filesystem::path& temporary);
// Nothing when the temporary replaced the target, else the system's reason.
std::error_code RenameTemporary(int folderFd, const std::filesystem::path& temporary,
                                const std::filesystem::path& target);

// The character as the platform compares names: folded to lower case where case does not count.
NativeChar NameCaseFolded(NativeChar c);
// True when a temporary of that other process is to be left alone, as the process still runs.
bool LeaveForRunningOwner(std::uint64_t process);

// What the interruption's registry keeps of a temporary: the name alone on POSIX, the full path
// on Windows.
std::filesystem::path::string_type RegisteredName(const std::filesystem::path& temporary);
// Removes a registered temporary without allocating (a signal handler, or a console handler's
// thread); on Windows its open file fd is closed first, as an open file cannot be removed there.
void RemoveRegisteredName(int folderFd, std::atomic<int>& fd, const NativeChar* name);

}  // namespace sipo
