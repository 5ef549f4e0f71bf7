// line_sorter.h - sorts the lines of a stream into a good and a bad output as they are read.
#pragma once

#include <cstdint>

#include "batch/line_rule.h"
#include "batch/line_stream.h"
#include "batch/run_monitor.h"
#include "files/atomic_file.h"
#include "files/input_file.h"

namespace sipo {

struct SortResult {
  std::uint64_t lines = 0;
  std::uint64_t good = 0;
  bool badWritten = false;
  bool okWritten = false;
};

// Each output gets its lines unchanged, in input order, each followed by CR LF. Only when the
// whole input was read are the outputs replaced, the bad one first; otherwise both are discarded.
struct StreamSort {
  StreamEnd end = StreamEnd::Complete;
  SortResult sorted;
};
// The monitor, when there is one, hears of every block and can stop the sort.
StreamSort SortLines(ByteSource& input, const LineRule& rule, AtomicFileWriter& bad,
                     AtomicFileWriter& ok, RunMonitor* monitor = nullptr,
                     std::size_t blockSize = kStreamBlockSize);

}  // namespace sipo
