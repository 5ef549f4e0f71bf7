// file_io.cpp - whole-file reads and atomic whole-file replacement, with Windows-1250 file names.
#include "batch/file_io.h"

#include <chrono>
#include <cstring>
#include <system_error>

#include "core/codepage1250.h"

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
  if (!std::filesystem::exists(target, error)) return true;
  if (std::filesystem::is_directory(target, error)) return false;
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

bool ReadWholeFile(std::string_view cp1250Name, FileContent& content) {
  const std::filesystem::path path = NativePath(cp1250Name);
  std::error_code error;
  if (cp1250Name.empty() || std::filesystem::is_directory(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  content.data = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(size) + 1);
  content.size = static_cast<std::size_t>(size);
  in.read(content.data.get(), size);
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
