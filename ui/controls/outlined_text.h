// outlined_text.h - a label whose text, when its colour stands too faintly against the label's
// background, is drawn with a one-pixel outline that stands out.
#pragma once

#include <windows.h>

namespace sipo::ui {

// The contrast ratio of two colours (1 to 21) by their relative luminance.
double ContrastRatio(COLORREF a, COLORREF b);

// The label keeps the colours its parent gives it; a text below 3 : 1 against the background is
// outlined in black (a light text) or white (a dark one). The label grows by the outline's two
// pixels whenever its width is set.
void InstallOutlinedText(HWND label);

}  // namespace sipo::ui
