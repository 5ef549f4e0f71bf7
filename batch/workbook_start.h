// workbook_start.h - tells a spreadsheet's workbook, chosen by mistake for its text export, by
// its first bytes, before a run writes anything.
#pragma once

#include <cstddef>
#include <string_view>

namespace sipo {

// The signatures' sizes: a zip container's, and an old binary workbook's compound file's, whose
// first four bytes are read first.
inline constexpr std::size_t kZipSignatureSize = 4;
inline constexpr std::size_t kWorkbookSignatureSize = 8;

// Whether a text starts like a workbook: a zip container (.xlsx, .ods) or a compound file (.xls).
bool StartsLikeWorkbook(std::string_view start);
// Whether the start may still prove a compound file once eight bytes are read.
bool MayStartCompoundFile(std::string_view start);

}  // namespace sipo
