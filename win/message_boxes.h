// message_boxes.h - the file run's confirmation and information boxes, in English on every
// Windows.
#pragma once

#include <windows.h>

#include <string_view>

namespace sipo::win {

// "Confirm", question icon, "&Yes" (the default) and "&No"; true only for Yes.
bool AskConfirmation(HWND owner, std::string_view cp1250Message);
// "Information", information icon, "OK".
void ShowInformation(HWND owner, std::string_view cp1250Message);

}  // namespace sipo::win
