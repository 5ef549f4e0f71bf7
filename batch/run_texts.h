// run_texts.h - the window's texts of a file run, Windows-1250: the question before it, the
// reasons it ends early, and "Hotovo.".
#pragma once

#include <string>
#include <string_view>

namespace sipo::file_run_text {

// "Oba soubory, označené jako výstup, budou přepsány. Souhlasíte s tím a chcete pokračovat ?"
inline constexpr std::string_view kConfirm =
    "Oba soubory, ozna\xE8"
    "en\xE9 jako v\xFDstup, budou p\xF8"
    "eps\xE1ny. Souhlas\xEDte s t\xEDm a "
    "chcete pokra\xE8ovat ?";
// "Vstupní soubor nelze otevřít."
inline constexpr std::string_view kInputFailed = "Vstupn\xED soubor nelze otev\xF8\xEDt.";
// "Výstupní soubor pro chybné řádky se nepodařilo otevřít."
inline constexpr std::string_view kBadOutputFailed =
    "V\xFDstupn\xED soubor pro chybn\xE9 \xF8\xE1"
    "dky se nepoda\xF8ilo otev\xF8\xEDt.";
// "Výstupní soubor pro správné řádky se nepodařilo otevřít."
inline constexpr std::string_view kOKOutputFailed =
    "V\xFDstupn\xED soubor pro spr\xE1vn\xE9 \xF8\xE1"
    "dky se nepoda\xF8ilo otev\xF8\xEDt.";
// "Výstupní soubory pro správné a pro chybné řádky musí být dva různé soubory."
inline constexpr std::string_view kSameOutputs =
    "V\xFDstupn\xED soubory pro spr\xE1vn\xE9 a pro chybn\xE9 \xF8\xE1"
    "dky mus\xED b\xFDt dva r\xF9zn\xE9 soubory.";
inline constexpr std::string_view kDone = "Hotovo.";
// "Přerušeno."
inline constexpr std::string_view kInterrupted =
    "P\xF8"
    "eru\x9A"
    "eno.";
// "Vstupní soubor je v kódování UTF-32, které program neumí číst."
inline constexpr std::string_view kUtf32Refused =
    "Vstupn\xED soubor je v k\xF3"
    "dov\xE1n\xED UTF-32, kter\xE9 program neum\xED \xE8\xEDst.";
// "Vstupní soubor v kódování UTF-16 má lichý počet bajtů, nelze jej přečíst."
inline constexpr std::string_view kOddLengthRefused =
    "Vstupn\xED soubor v k\xF3"
    "dov\xE1n\xED UTF-16 m\xE1 lich\xFD po\xE8"
    "et bajt\xF9, nelze jej p\xF8"
    "e\xE8\xEDst.";
// "Vstupní soubor je sešit tabulkového procesoru, ne text. Uložte jej jako CSV a zkontrolujte ten."
inline constexpr std::string_view kWorkbookRefused =
    "Vstupn\xED soubor je se\x9Ait tabulkov\xE9ho procesoru, ne text. Ulo\x9Ete jej jako CSV a "
    "zkontrolujte ten.";
// "Výstupní soubory zůstaly beze změny."
inline constexpr std::string_view kOutputsKept = "V\xFDstupn\xED soubory z\xF9staly beze zm\xECny.";

// A reason the run ended early, then that the outputs were left as they were: "Přerušeno.
// Výstupní soubory zůstaly beze změny."
inline std::string WithOutputsKept(std::string_view reason) {
  return std::string(reason).append(" ").append(kOutputsKept);
}

}  // namespace sipo::file_run_text
