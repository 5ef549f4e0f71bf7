// file_io.cpp - whole-file reads and atomic whole-file replacement, with Windows-1250 file names.
#include "batch/file_io.h"

#include <chrono>
#include <cstring>
#include <system_error>
#include <utility>

#include "core/codepage1250.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define SIPO_MAP_FILES 1
#endif

namespace sipo {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;

// A name of our own beside the target, so that the final rename stays on one volume.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  static unsigned counter = 0;
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::filesystem::path temporary = target;
  temporary += ".sipo-" + std::to_string(stamp) + "-" + std::to_string(++counter) + ".tmp";
  return temporary;
}

// An existing target that we may not write to is left alone, as writing to it in place would
// have failed; replacing it through a rename would get past its protection.
bool ExistingTargetWritable(const std::filesystem::path& target) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(target, error);
  if (!std::filesystem::exists(status)) return true;
  if (std::filesystem::is_directory(status)) return false;
  // A file marked read-only stays protected even where the rename would be allowed.
  if ((status.permissions() & std::filesystem::perms::owner_write) ==
      std::filesystem::perms::none) {
    return false;
  }
  std::ofstream probe(target, std::ios::binary | std::ios::app);
  return probe.is_open();
}

}  // namespace

std::filesystem::path NativePath(std::string_view cp1250Name) {
#ifdef _WIN32
  return std::filesystem::path(Cp1250ToUtf16(cp1250Name));
#else
  return std::filesystem::path(std::string(cp1250Name));
#endif
}

FileContent::~FileContent() {
  Release();
}

FileContent::FileContent(FileContent&& other) noexcept {
  *this = std::move(other);
}

FileContent& FileContent::operator=(FileContent&& other) noexcept {
  if (this == &other) return *this;
  Release();
  owned_ = std::move(other.owned_);
  mapping_ = std::exchange(other.mapping_, nullptr);
  data_ = std::exchange(other.data_, nullptr);
  size_ = std::exchange(other.size_, 0);
  return *this;
}

char* FileContent::Allocate(std::size_t size) {
  Release();
  owned_ = std::make_unique_for_overwrite<char[]>(size + 1);
  data_ = owned_.get();
  size_ = size;
  return owned_.get();
}

void FileContent::Release() {
#ifdef SIPO_MAP_FILES
  if (mapping_ != nullptr) munmap(mapping_, size_);
#endif
  mapping_ = nullptr;
  owned_.reset();
  data_ = nullptr;
  size_ = 0;
}

namespace {

#ifdef SIPO_MAP_FILES
// Maps a non-empty regular file read-only; nullptr when it is not one or cannot be mapped, so
// that it is read the ordinary way instead.
void* MapRegularFile(const std::filesystem::path& path, std::size_t& size) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  void* mapping = nullptr;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    size = static_cast<std::size_t>(info.st_size);
    mapping = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (mapping == MAP_FAILED) mapping = nullptr;
  }
  close(fd);
  return mapping;
}
#endif

}  // namespace

bool ReadWholeFile(std::string_view cp1250Name, FileContent& content) {
  const std::filesystem::path path = NativePath(cp1250Name);
  std::error_code error;
  if (cp1250Name.empty() || std::filesystem::is_directory(path, error)) return false;
#ifdef SIPO_MAP_FILES
  std::size_t mappedSize = 0;
  if (void* mapping = MapRegularFile(path, mappedSize)) {
    content.Release();
    content.mapping_ = mapping;
    content.data_ = static_cast<const char*>(mapping);
    content.size_ = mappedSize;
    return true;
  }
#endif
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  char* data = content.Allocate(static_cast<std::size_t>(size));
  in.read(data, size);
  return in.gcount() == size && !in.bad();
}

AtomicFileWriter::AtomicFileWriter(std::string_view cp1250Name)
    : target_(NativePath(cp1250Name)), temporary_(TemporaryBeside(target_)) {
  if (cp1250Name.empty() || !ExistingTargetWritable(target_)) return;
  out_.open(temporary_, std::ios::binary | std::ios::trunc);
  ok_ = out_.is_open();
  if (ok_) buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (committed_) return;
  if (out_.is_open()) out_.close();
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
}

void AtomicFileWriter::Write(std::string_view bytes) {
  if (!ok_) return;
  if (used_ + bytes.size() > kBufferSize) Flush();
  if (bytes.size() >= kBufferSize) {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ok_ = out_.good();
    return;
  }
  std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

void AtomicFileWriter::Flush() {
  if (used_ == 0 || !ok_) return;
  out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
  used_ = 0;
  ok_ = out_.good();
}

bool AtomicFileWriter::Commit() {
  Flush();
  if (!ok_) return false;
  out_.close();
  if (out_.fail()) return ok_ = false;
  std::error_code error;
  std::filesystem::rename(temporary_, target_, error);
  if (error) return ok_ = false;
  committed_ = true;
  return true;
}

}  // namespace sipo
