// form_context.h - what the floating and the About window take from the main window.
#pragma once

#include <windows.h>

#include "settings/settings_store.h"

namespace sipo::ui {

struct FormContext {
  HWND mainWindow;
  SettingsStore& store;
  bool settingsUnavailable;
};

}  // namespace sipo::ui
