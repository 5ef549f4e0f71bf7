// clipboard_list.h - a list of numbers copied one per line: checked into rows, and the rows back
// into quoted, semicolon-separated lines.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/sipo_number.h"

namespace sipo {

// One line of the list with its result.
struct MultiRow {
  std::string number;       // the line as it came, untrimmed
  std::string_view status;  // the class's status text (static); empty for Empty
  Colour colour = kBlack;   // the class's colour
};

// One row per line (CR LF, CR or LF ends a line; a NUL ends the text).
std::vector<MultiRow> MultiImportRows(std::string_view text, char decimalSeparator);

// '"number";"status"' for each row, every line ended by CR LF; quotes inside are kept as they are.
std::string MultiExportText(std::span<const MultiRow> rows);

}  // namespace sipo
