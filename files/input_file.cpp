// input_file.cpp - reads a file, or standard input, in blocks with ordinary reads.
#include "files/input_file.h"

#include <cerrno>

#include "files/descriptor.h"

namespace sipo {
namespace {

// The sizes that pseudo-files report whatever they hold.
bool IsPseudoSize(std::int64_t size) {
  return size == 0 || size == PageSize();
}

}  // namespace

InputFile::~InputFile() {
  Close();
}

void InputFile::Close() {
  if (!ownsFd_) return;
  CloseDescriptor(fd_);
  ownsFd_ = false;
  fd_ = -1;
}

bool InputFile::Open(const std::filesystem::path& path) {
  ClearLastError();
  const int fd = OpenToRead(path);
  if (fd < 0) {
    error_ = LastError();
    return false;
  }
  fd_ = fd;
  ownsFd_ = true;
  DescriptorFacts facts;
  if (!FactsOf(fd_, facts) || facts.directory) {
    error_ = facts.directory ? std::error_code(EISDIR, std::generic_category()) : LastError();
    return false;
  }
  if (facts.regular) {
    sizeAtOpen_ = facts.size;
    timeAtOpen_ = facts.modified;
  }
  return true;
}

bool InputFile::OpenStandardInput() {
  fd_ = 0;
  standardInput_ = true;
  DescriptorFacts facts;
  if (!FactsOf(fd_, facts)) return false;
  if (facts.regular) {
    sizeAtOpen_ = facts.size;
    timeAtOpen_ = facts.modified;
  }
  return true;
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t size) {
  ClearLastError();
  const std::ptrdiff_t count = ReadDescriptor(fd_, buffer, size);
  if (count < 0) {
    error_ = LastError();
    return -1;
  }
  if (count == 0 && !AtEndUnchanged()) return -1;
  bytesRead_ += count;
  return count;
}

InputChange InputFile::WhatChanged() const {
  if (change_.size || change_.time || sizeAtOpen_ < 0 || fd_ < 0) return change_;
  DescriptorFacts facts;
  if (!FactsOf(fd_, facts)) return {true, false};
  return {facts.size != sizeAtOpen_, facts.modified != timeAtOpen_};
}

// Standard input that is a regular file may start part-way into it: only the size counts there.
bool InputFile::AtEndUnchanged() {
  if (sizeAtOpen_ < 0) return true;
  DescriptorFacts facts;
  const bool known = FactsOf(fd_, facts);
  const bool sameSize = known && facts.size == sizeAtOpen_;
  const bool sameTime = known && facts.modified == timeAtOpen_;
  const bool same = sameSize && sameTime;
  const bool readAll =
      standardInput_ || bytesRead_ == sizeAtOpen_ || (same && IsPseudoSize(sizeAtOpen_));
  change_ = {!(sameSize && readAll), !sameTime};
  return !Changed();
}

}  // namespace sipo
