// line_sorter.h - sorts the lines of a stream into a good and a bad output as they are read.
#pragma once

#include <cstdint>

#include "batch/line_rule.h"
#include "batch/line_stream.h"
#include "batch/run_monitor.h"
#include "batch/text_mark.h"
#include "files/atomic_file.h"
#include "files/input_file.h"

namespace sipo {

struct SortResult {
  std::uint64_t lines = 0;
  std::uint64_t good = 0;
  // The line (from 1) of a NUL that ended the text before the input's end, else 0.
  std::uint64_t nulLine = 0;
  TextEncoding encoding = TextEncoding::Bytes;
  bool badWritten = false;
  bool okWritten = false;
};

// Each output gets its lines unchanged, in input order, each followed by CR LF. Only when the
// whole input was read are the outputs replaced, the bad one first; otherwise both are discarded.
// A byte-order mark decides how the input is read: after a UTF-8 mark as bytes, after a UTF-16
// mark in 16-bit units (line ends written as units too); both outputs begin with the same mark.
// A UTF-32 mark, or a UTF-16 text of odd length, is refused as unreadable.
struct StreamSort {
  StreamEnd end = StreamEnd::Complete;
  SortResult sorted;
};
// The monitor, when there is one, hears of every block and can stop the sort.
StreamSort SortLines(ByteSource& input, const LineRule& rule, AtomicFileWriter& bad,
                     AtomicFileWriter& ok, RunMonitor* monitor = nullptr,
                     std::size_t blockSize = kStreamBlockSize);

}  // namespace sipo
