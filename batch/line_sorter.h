// line_sorter.h - writes the lines of a text to a good and a bad output as they are scanned.
#pragma once

#include <cstddef>
#include <cstdint>

#include "batch/line_rule.h"
#include "batch/line_stream.h"
#include "batch/text_mark.h"
#include "files/atomic_file.h"
#include "files/input_file.h"

namespace sipo {

// The lines a sort took and what became of its outputs.
struct SortResult {
  std::uint64_t lines = 0;
  std::uint64_t good = 0;
  // The line (from 1) of a NUL that ended the text before the input's end, else 0.
  std::uint64_t nulLine = 0;
  // The column that no line had (a run of the field or quoted layout over at least one line),
  // else -1: most likely counted from one.
  std::int32_t missingColumn = -1;
  TextEncoding encoding = TextEncoding::Bytes;
  bool badWritten = false;
  bool okWritten = false;
};

// Writes each line of a text that stands after its mark, read in the encoding's units (not
// UTF-32), to the good or the bad output, unchanged and in order, each followed by CR LF in those
// units. The counts in sorted are brought up to date before each read, for whoever watches the
// run; nulLine is counted within this text.
StreamEnd WriteSortedLines(ByteSource& text, TextEncoding encoding, const LineRule& rule,
                           AtomicFileWriter& bad, AtomicFileWriter& ok, SortResult& sorted,
                           std::size_t blockSize);

}  // namespace sipo
