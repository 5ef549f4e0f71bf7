// workbook_start.cpp - tells a spreadsheet's workbook by its first bytes.
#include "batch/workbook_start.h"

namespace sipo {
namespace {

constexpr std::string_view kZip("PK\x03\x04", kZipSignatureSize);
constexpr std::string_view kCompoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1",
                                         kWorkbookSignatureSize);

}  // namespace

bool StartsLikeWorkbook(std::string_view start) {
  return start.starts_with(kZip) || start.starts_with(kCompoundFile);
}

bool MayStartCompoundFile(std::string_view start) {
  return start.starts_with(kCompoundFile.substr(0, kZip.size()));
}

}  // namespace sipo
