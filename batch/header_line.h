// header_line.h - an input's first line taken apart before its lines are sorted: a script's
// header row, copied unchecked to both outputs after the text's mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "batch/text_mark.h"
#include "files/input_file.h"

namespace sipo {

// Reads the mark and the first line (up to CR LF, a lone CR, a lone LF or a NUL, in the mark's
// units), then hands out the mark followed by the rest of the input, so that a sort of it reads
// the text as the mark says without the header line.
class HeaderSource : public ByteSource {
 public:
  explicit HeaderSource(ByteSource& input) : input_(input) {}
  // False when a read failed.
  bool ReadHeader();
  const TextMark& Mark() const { return mark_; }
  // The first line's bytes, without its line end; empty for an empty input.
  std::string_view Header() const { return header_; }
  // The mark, the header and a CR LF in the text's units: what both outputs begin with.
  std::string OutputStart() const;
  // A NUL ended the text inside the header line, and more of the input followed it: nothing
  // after it is handed out.
  bool NulEndedHeader() const { return nulEnded_; }

  std::ptrdiff_t Read(char* buffer, std::size_t size) override;
  void Close() override { input_.Close(); }
  std::int64_t Size() const override;

 private:
  bool Fill();
  std::size_t UnitSize() const;
  unsigned UnitAt(std::size_t at) const;

  ByteSource& input_;
  std::vector<char> start_;  // what was read to find the header
  bool ended_ = false;       // the input has ended
  TextMark mark_;
  std::string header_;
  std::vector<char> pending_;  // the mark and the rest read with the header, handed out first
  std::size_t next_ = 0;
  std::int64_t removed_ = 0;  // bytes of the header and its line end
  bool nulEnded_ = false;
};

}  // namespace sipo
