// form_window.cpp - a window of the program laid out from its design.
#include "ui/base/form_window.h"

#include "settings/window_placement.h"
#include "ui/base/placed_window.h"
#include "ui/base/start_steps.h"

namespace sipo::ui {

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      MarkStartStep("window");
      PlaceAtDesign();
      MarkStartStep("place");
      CreateControls();
      FormCreate();
      return 0;
    case WM_DPICHANGED:
      dpi_ = HIWORD(wParam);
      MoveToSuggested(*reinterpret_cast<const RECT*>(lParam));
      ApplyLayout();
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

void FormWindow::RestorePlace(SettingsStore& store, bool settingsUnavailable) {
  if (settingsUnavailable) return;
  PlacedHwnd placed(Handle(), design_.placementKey);
  RestorePlacement(store, placed);
}

void FormWindow::SavePlace(SettingsStore& store, bool settingsUnavailable) const {
  if (settingsUnavailable) return;
  const PlacedHwnd placed(Handle(), design_.placementKey);
  SavePlacement(store, placed);
}

// The designed position and client size, both scaled to the window's own DPI.
void FormWindow::PlaceAtDesign() {
  dpi_ = GetDpiForWindow(Handle());
  RECT frame = {0, 0, Scale(design_.client.cx), Scale(design_.client.cy)};
  AdjustWindowRectExForDpi(&frame, design_.style, FALSE, design_.exStyle, dpi_);
  SetWindowPos(Handle(), nullptr, Scale(design_.position.x), Scale(design_.position.y),
               frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::MoveToSuggested(const RECT& suggested) {
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace sipo::ui
