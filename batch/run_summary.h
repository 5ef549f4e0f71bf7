// run_summary.h - the closing text of a file run in the window: the counts of lines and a NUL
// that cut the input short. Windows-1250.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "batch/line_sorter.h"

namespace sipo {

// Thousands grouped by a space: "10 000 000".
std::string GroupedNumber(std::uint64_t number);

// "Hotovo." and, a line each, the lines read, good and bad, a NUL that ended the text, and a
// column that no line had.
std::string DoneMessage(const SortResult& sorted);

}  // namespace sipo
