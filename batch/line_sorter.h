// line_sorter.h - sorts the lines of a text in memory into a good and a bad output file.
#pragma once

#include <cstdint>
#include <string_view>

#include "batch/line_rule.h"

namespace sipo {

struct SortResult {
  std::uint64_t lines = 0;
  std::uint64_t good = 0;
  bool badWritten = false;
  bool okWritten = false;
};

// Each output gets its lines unchanged, in input order, each followed by CR LF. The bad output
// replaces its file first, then the good one; each is replaced atomically, so an output may be
// the file the text came from.
SortResult SortLinesInto(std::string_view text, const LineRule& rule, std::string_view badName,
                         std::string_view okName);

}  // namespace sipo
