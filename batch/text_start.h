// text_start.h - the start of a text as every reader of one takes it: its byte-order mark, read
// once, and for a run with a header its first line; the rest is handed out after them.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "batch/text_mark.h"
#include "files/input_file.h"

namespace sipo {

// Reads no more than decides the mark, so that a terminal's first short line is answered without
// waiting for more; what was read past the mark (and past the first line, once that is read) is
// handed out first, then the rest of the input.
class TextStart : public ByteSource {
 public:
  // readSize: the most asked of the input in one read.
  explicit TextStart(ByteSource& input, std::size_t readSize = std::size_t{64} << 10)
      : input_(input), readSize_(readSize < kMarkDecidingSize ? kMarkDecidingSize : readSize) {}

  // False when a read failed.
  bool ReadMark();
  const TextMark& Mark() const { return mark_; }

  // After ReadMark and before anything is handed out: reads on, no further than it must, until
  // the input's first bytes tell whether it is a spreadsheet's workbook (four bytes, eight when
  // the four begin a compound file's; fewer at the input's end). False when a read failed.
  bool ReadWorkbookSignature();
  bool IsWorkbook() const;

  // After ReadMark, for a text read in bytes or in UTF-16 units: reads the first line (up to CR
  // LF, a lone CR, a lone LF or a NUL, in the mark's units) and takes it and its line end out of
  // what is handed out. False when a read failed.
  bool ReadFirstLine();
  // An empty text, or one that a NUL opens, has no first line.
  bool HasFirstLine() const { return hasFirstLine_; }
  // The first line's bytes, without its line end.
  std::string_view FirstLine() const { return {firstLine_.data(), firstLine_.size()}; }
  // A NUL ended the text inside the first line and more of the input followed it: nothing after
  // it is handed out.
  bool NulEndedFirstLine() const { return nulEnded_; }

  std::ptrdiff_t Read(char* buffer, std::size_t size) override;
  void Close() override { input_.Close(); }

 private:
  template <class Units>
  bool ReadFirstLineBy();
  bool ReadUntil(std::size_t size);
  // Everything read and kept so far, the mark's bytes included.
  std::string_view Pending() const { return {pending_.data(), pending_.size()}; }

  ByteSource& input_;
  std::size_t readSize_;
  std::vector<char> pending_;  // read and not yet handed out, from next_ on
  std::size_t next_ = 0;
  bool ended_ = false;  // the input has ended: its end is not asked for twice (a terminal's)
  TextMark mark_;
  std::vector<char> firstLine_;
  bool hasFirstLine_ = false;
  bool nulEnded_ = false;
};

}  // namespace sipo
