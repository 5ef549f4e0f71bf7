// clipboard_list.cpp - a list of numbers copied one per line: checked into rows, and the rows
// back into quoted, semicolon-separated lines.
#include "batch/clipboard_list.h"

#include "batch/line_list.h"

namespace sipo {

std::vector<MultiRow> MultiImportRows(std::string_view text, char decimalSeparator) {
  std::vector<MultiRow> rows;
  ForEachLine(text, [&](std::string_view line) {
    const StatusClass status = ClassifyNumberText(line, decimalSeparator);
    rows.push_back({std::string(line), StatusText(status), StatusColour(status)});
  });
  return rows;
}

// A spreadsheet reads the quotes as field bounds; a quote inside a cell is left as it is, as the
// lists already pasted elsewhere were written that way.
std::string MultiExportText(std::span<const MultiRow> rows) {
  constexpr std::string_view kOpen = "\"", kSeparator = "\";\"", kClose = "\"";
  std::size_t size = 0;
  for (const MultiRow& row : rows) {
    size += row.number.size() + row.status.size() + kOpen.size() + kSeparator.size() +
            kClose.size() + kLineEnd.size();
  }
  std::string text;
  text.reserve(size);
  for (const MultiRow& row : rows) {
    text.append(kOpen).append(row.number).append(kSeparator).append(row.status);
    text.append(kClose).append(kLineEnd);
  }
  return text;
}

}  // namespace sipo
