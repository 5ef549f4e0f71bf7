// temporary_files.h - the temporary files that an atomic replacement writes beside its target:
// short names that say which target and which process they belong to, and removal of those that
// a killed process left behind (files/temporary_registry.h removes those of an interrupted one).
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

}  // namespace sipo
