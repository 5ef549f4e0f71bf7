// run_summary.h - the texts that end a file run in the window: the counts of lines, a NUL that
// cut the input short, and the reasons an input is refused. Windows-1250.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "batch/line_sorter.h"

namespace sipo {

// Thousands grouped by a space: "10 000 000".
std::string GroupedNumber(std::uint64_t number);

// "Hotovo." and, a line each, the lines read, good and bad, and a NUL that ended the text.
std::string DoneMessage(const SortResult& sorted);

namespace file_run_text {
// "Vstupní soubor je v kódování UTF-32, které program neumí číst. Výstupní soubory zůstaly beze
// změny."
inline constexpr std::string_view kUtf32Refused =
    "Vstupn\xED soubor je v k\xF3"
    "dov\xE1n\xED UTF-32, kter\xE9 program neum\xED \xE8\xEDst. "
    "V\xFDstupn\xED soubory z\xF9staly beze zm\xECny.";
// "Vstupní soubor v kódování UTF-16 má lichý počet bajtů, nelze jej přečíst. Výstupní soubory
// zůstaly beze změny."
inline constexpr std::string_view kOddLengthRefused =
    "Vstupn\xED soubor v k\xF3"
    "dov\xE1n\xED UTF-16 m\xE1 lich\xFD po\xE8"
    "et bajt\xF9, nelze jej p\xF8"
    "e\xE8\xEDst. V\xFDstupn\xED soubory z\xF9staly beze zm\xECny.";
}  // namespace file_run_text

}  // namespace sipo
