// workbook_start.cpp - tells a spreadsheet's workbook by its first bytes.
#include "batch/workbook_start.h"

#include <algorithm>
#include <cstring>

namespace sipo {
namespace {

constexpr std::string_view kZip("PK\x03\x04", 4);
constexpr std::string_view kCompoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

}  // namespace

bool StartsLikeWorkbook(std::string_view start) {
  return start.starts_with(kZip) || start.starts_with(kCompoundFile);
}

bool WorkbookLook::Fill(std::size_t size) {
  char buffer[kWorkbookSignatureSize];
  while (!ended_ && start_.size() < size) {
    const std::ptrdiff_t count = input_.Read(buffer, size - start_.size());
    if (count < 0) return false;
    if (count == 0) ended_ = true;
    start_.append(buffer, static_cast<std::size_t>(count));
  }
  return true;
}

bool WorkbookLook::ReadStart() {
  if (!Fill(kZip.size())) return false;
  if (!start_.starts_with(kCompoundFile.substr(0, kZip.size()))) return true;
  return Fill(kCompoundFile.size());
}

std::ptrdiff_t WorkbookLook::Read(char* buffer, std::size_t size) {
  if (handedOut_ < start_.size()) {
    const std::size_t count = std::min(size, start_.size() - handedOut_);
    std::memcpy(buffer, start_.data() + handedOut_, count);
    handedOut_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }
  // An input that has ended is not asked again: a terminal would wait for a second end.
  return ended_ ? 0 : input_.Read(buffer, size);
}

}  // namespace sipo
