// form_window.h - a window of the program laid out from its design: placed at its designed
// position and client size at its own DPI, laid out again when the DPI under it changes, and put
// back where the user last left it.
#pragma once

#include <windows.h>

#include "settings/settings_store.h"
#include "ui/base/child_control.h"
#include "ui/base/window_base.h"

namespace sipo::ui {

// Position and client size in pixels at 96 dpi, the window's styles, and the name its place is
// remembered under in the settings file.
struct FormDesign {
  POINT position;
  SIZE client;
  DWORD style;
  DWORD exStyle;
  const char* placementKey;
};

class FormWindow : public WindowBase {
 protected:
  explicit FormWindow(const FormDesign& design) : design_(design) {}

  UINT Dpi() const { return dpi_; }
  // The outer rectangle of the designed position and client size at a DPI.
  RECT DesignedFrame(UINT dpi) const;
  int Scale(int pixels96) const { return ScaleForDpi(pixels96, dpi_); }

  // Takes WM_CREATE and WM_DPICHANGED, and gives every other message its default handling: a
  // form's HandleMessage passes here what it does not take itself.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Moves the window to its remembered place; nothing is read while the settings file cannot be
  // used.
  void RestorePlace(SettingsStore& store, bool settingsUnavailable);
  // Remembers the window's place; throws what the settings write throws.
  void SavePlace(SettingsStore& store, bool settingsUnavailable) const;

  // Makes the controls, once, before FormCreate: each at its place for the window's DPI and with
  // its font, so that nothing is moved before the window is first shown.
  virtual void CreateControls() = 0;
  virtual void FormCreate() = 0;
  // Fonts and bounds again, when the DPI under the window has changed.
  virtual void ApplyLayout() = 0;

 private:
  void PlaceAtDesign();
  void MoveToSuggested(const RECT& suggested);

  FormDesign design_;
  UINT dpi_ = 96;
};

}  // namespace sipo::ui
