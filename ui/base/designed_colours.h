// designed_colours.h - the colours that several windows and controls share, named once.
#pragma once

#include <windows.h>

namespace sipo::ui {

// The grey of the main and the floating window around their controls; the panels' header bars
// fade from it, and the logo stands on it.
inline constexpr COLORREF kWindowGrey = 0x717679;
// Texts on that grey: the header bars' titles and the floating window's labels.
inline constexpr COLORREF kTextOnGrey = 0xFFFFFF;

}  // namespace sipo::ui
