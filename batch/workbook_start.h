// workbook_start.h - tells a spreadsheet's workbook, chosen by mistake for its text export, by
// its first bytes, before a run writes anything.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/input_file.h"

namespace sipo {

// The longest signature: an old binary workbook's compound file.
inline constexpr std::size_t kWorkbookSignatureSize = 8;

// Whether a text starts like a workbook: a zip container (.xlsx, .ods) or a compound file (.xls).
bool StartsLikeWorkbook(std::string_view start);

// A source whose first bytes are read ahead and looked at, then handed out again before the rest.
class WorkbookLook : public ByteSource {
 public:
  explicit WorkbookLook(ByteSource& input) : input_(input) {}

  // Reads just enough to tell a signature: four bytes, eight when the four begin a compound
  // file's (fewer at the input's end). False when a read failed.
  bool ReadStart();
  bool IsWorkbook() const { return StartsLikeWorkbook(start_); }

  std::ptrdiff_t Read(char* buffer, std::size_t size) override;
  void Close() override { input_.Close(); }
  std::int64_t Size() const override { return input_.Size(); }
  bool Changed() const override { return input_.Changed(); }
  InputChange WhatChanged() const override { return input_.WhatChanged(); }
  std::error_code Error() const override { return input_.Error(); }

 private:
  bool Fill(std::size_t size);

  ByteSource& input_;
  std::string start_;
  std::size_t handedOut_ = 0;
  bool ended_ = false;
};

}  // namespace sipo
