// temporary_files_windows.cpp - the temporaries' platform calls on Windows, where they are named
// by their full paths, a name's case does not count, and an open file cannot be removed.
#include "files/temporary_files.h"
#include "files/temporary_files_platform.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cwctype>
#include <system_error>

namespace sipo {

bool OpenTargetFolder(const std::filesystem::path&, int& folderFd) {
  folderFd = -1;
  return true;
}

int CreateTemporary(int, const std::filesystem::path& temporary) {
  return _wopen(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                _S_IREAD | _S_IWRITE);
}

void RemoveTemporary(int, const std::filesystem::path& temporary) {
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
}

// The reason is the one the system gave the rename (a target held open without sharing: access
// denied), not whatever errno holds.
std::error_code RenameTemporary(int, const std::filesystem::path& temporary,
                                const std::filesystem::path& target) {
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  return error;
}

NativeChar NameCaseFolded(NativeChar c) {
  return static_cast<wchar_t>(std::towlower(c));
}

// No process is asked: a temporary that its running process holds open cannot be removed, so
// trying is the test.
bool LeaveForRunningOwner(std::uint64_t) {
  return false;
}

std::filesystem::path::string_type RegisteredName(const std::filesystem::path& temporary) {
  return temporary.native();
}

void RemoveRegisteredName(int, std::atomic<int>& fd, const NativeChar* name) {
  const int open = fd.exchange(-1);
  if (open >= 0) _close(open);
  _wremove(name);
}

std::uint64_t CurrentProcessId() {
  return static_cast<std::uint64_t>(_getpid());
}

}  // namespace sipo
