// file_run_caption.h - what FileButton reads while a file run lasts, when it stops the run.
#pragma once

#include <string>

#include "batch/run_monitor.h"

namespace sipo::ui {

// "Zpracovat": FileButton's caption when no run lasts.
inline constexpr const char* kFileButtonCaption = "Zpracovat";

// "Přerušit" (Windows-1250), then the percent of the input read when its size is known, else the
// lines read: "Přerušit (37 %)", "Přerušit (1250 řádků)". Before the first block, the word alone.
std::string StopButtonCaption(const RunProgress* progress);

// How much of the input is read, 0 to 1; negative when the size is not known.
double ReadFraction(const RunProgress& progress);

}  // namespace sipo::ui
