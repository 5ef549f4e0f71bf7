// descriptor.h - the C runtime's calls on a file descriptor, which POSIX and Windows spell
// differently: one declaration here, descriptor_posix.cpp and descriptor_windows.cpp implement it.
// The readers and writers of files/ use these alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace sipo {

// An existing file opened to read, or to be written where it is (a device or a FIFO); -1 on
// failure. A program this one starts inherits neither.
int OpenToRead(const std::filesystem::path& path);
int OpenToWriteInPlace(const std::filesystem::path& path);

// The count moved, or -1 with errno set; an interrupted call is repeated, not reported. One
// call moves at most kLargestTransfer bytes, which keeps the Windows count, an unsigned int, in
// range.
constexpr std::size_t kLargestTransfer = std::size_t{1} << 30;
std::ptrdiff_t ReadDescriptor(int fd, char* buffer, std::size_t size);
std::ptrdiff_t WriteDescriptor(int fd, const char* data, std::size_t size);

// The reason the last call above (or a C runtime call) failed, as the system words it: errno on
// POSIX, the system's own error code on Windows where the runtime kept one. Clear it before a
// call whose failure is to be reported.
std::error_code LastError();
void ClearLastError();

// Why a descriptor the process already has cannot take writes (not open, or open to read only);
// nothing when it can.
std::error_code NotWritable(int fd);

// True when the close succeeded: a failed close can mean unwritten data.
bool CloseDescriptor(int fd);
// Forces what was written to the disk.
bool SyncDescriptor(int fd);

struct DescriptorFacts {
  bool directory = false;
  bool regular = false;
  std::int64_t size = 0;
  std::int64_t modified = 0;  // as finely as the system keeps it
};
bool FactsOf(int fd, DescriptorFacts& facts);

// The size of a memory page, which pseudo-files report as their size whatever they hold.
std::int64_t PageSize();

// The new file gets the permission bits (and, where allowed, the owner) of the old one; Windows
// keeps no such bits.
void CopyPermissions(int fd, const std::filesystem::path& from);

}  // namespace sipo
