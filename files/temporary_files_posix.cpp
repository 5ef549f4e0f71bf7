// temporary_files_posix.cpp - the temporaries' platform calls on POSIX, where names are opened,
// renamed and removed relative to the target's open folder.
#include "files/temporary_files.h"
#include "files/temporary_files_platform.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace sipo {

bool OpenTargetFolder(const std::filesystem::path& target, int& folderFd) {
  const std::filesystem::path folder =
      target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return folderFd >= 0;
}

int CreateTemporary(int folderFd, const std::filesystem::path& temporary) {
  return openat(folderFd, temporary.filename().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                0666);
}

void RemoveTemporary(int folderFd, const std::filesystem::path& temporary) {
  unlinkat(folderFd, temporary.filename().c_str(), 0);
}

std::error_code RenameTemporary(int folderFd, const std::filesystem::path& temporary,
                                const std::filesystem::path& target) {
  if (renameat(folderFd, temporary.filename().c_str(), folderFd, target.filename().c_str()) == 0)
    return {};
  return {errno, std::generic_category()};
}

NativeChar NameCaseFolded(NativeChar c) {
  return c;
}

bool LeaveForRunningOwner(std::uint64_t process) {
  return kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}

std::filesystem::path::string_type RegisteredName(const std::filesystem::path& temporary) {
  return temporary.filename().native();
}

void RemoveRegisteredName(int folderFd, std::atomic<int>&, const NativeChar* name) {
  unlinkat(folderFd, name, 0);
}

std::uint64_t CurrentProcessId() {
  return static_cast<std::uint64_t>(getpid());
}

}  // namespace sipo
