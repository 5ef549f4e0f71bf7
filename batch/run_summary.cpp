// run_summary.cpp - the closing text of a file run in the window.
#include "batch/run_summary.h"

#include "batch/run_texts.h"

namespace sipo {
namespace {

// "Načteno řádků: ", "Správných: ", "Chybných: "
constexpr std::string_view kLinesLabel =
    "Na\xE8teno \xF8\xE1"
    "dk\xF9: ";
constexpr std::string_view kGoodLabel =
    "Spr\xE1vn\xFD"
    "ch: ";
constexpr std::string_view kBadLabel =
    "Chybn\xFD"
    "ch: ";
// "Na řádku N stál znak NUL, zbytek souboru nebyl zkontrolován."
constexpr std::string_view kNulBefore =
    "Na \xF8\xE1"
    "dku ";
constexpr std::string_view kNulAfter = " st\xE1l znak NUL, zbytek souboru nebyl zkontrolov\xE1n.";

// "Žádný řádek neměl sloupec N (sloupce se počítají od nuly)."
constexpr std::string_view kNoColumnBefore =
    "\x8E\xE1"
    "dn\xFD \xF8\xE1"
    "dek nem\xECl sloupec ";
constexpr std::string_view kNoColumnAfter = " (sloupce se po\xE8\xEDtaj\xED od nuly).";

constexpr std::string_view kLineBreak = "\r\n";

}  // namespace

std::string GroupedNumber(std::uint64_t number) {
  const std::string digits = std::to_string(number);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(' ');
    grouped.push_back(digits[i]);
  }
  return grouped;
}

std::string DoneMessage(const SortResult& sorted) {
  std::string message(file_run_text::kDone);
  const auto line = [&](std::string_view label, std::uint64_t count) {
    message.append(kLineBreak).append(label).append(GroupedNumber(count));
  };
  line(kLinesLabel, sorted.lines);
  line(kGoodLabel, sorted.good);
  line(kBadLabel, sorted.lines - sorted.good);
  if (sorted.nulLine != 0) {
    message.append(kLineBreak).append(kNulBefore).append(GroupedNumber(sorted.nulLine));
    message.append(kNulAfter);
  }
  if (sorted.missingColumn >= 0) {
    message.append(kLineBreak).append(kNoColumnBefore);
    message.append(std::to_string(sorted.missingColumn)).append(kNoColumnAfter);
  }
  return message;
}

}  // namespace sipo
