// main_form_run.h - the main window's messages of a file run on its own thread.
#pragma once

#include <windows.h>

namespace sipo::ui {

// Posted by the run's thread once the sort has ended.
inline constexpr UINT kRunEndedMessage = WM_APP + 2;
// FileButton's caption, its fill and the taskbar follow the run at most four times a second.
inline constexpr UINT_PTR kRunTimer = 1;
inline constexpr UINT kRunTimerInterval = 250;

}  // namespace sipo::ui
