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

RECT FormWindow::DesignedFrame(UINT dpi) const {
  RECT frame = {0, 0, ScaleForDpi(design_.client.cx, dpi), ScaleForDpi(design_.client.cy, dpi)};
  AdjustWindowRectExForDpi(&frame, design_.style, FALSE, design_.exStyle, dpi);
  const int left = ScaleForDpi(design_.position.x, dpi), top = ScaleForDpi(design_.position.y, dpi);
  return {left, top, left + frame.right - frame.left, top + frame.bottom - frame.top};
}

// The designed position and client size, both scaled to the window's own DPI. A window made with
// that frame already is not moved again.
void FormWindow::PlaceAtDesign() {
  dpi_ = GetDpiForWindow(Handle());
  const RECT frame = DesignedFrame(dpi_);
  RECT now{};
  GetWindowRect(Handle(), &now);
  if (EqualRect(&now, &frame)) return;
  SetWindowPos(Handle(), nullptr, frame.left, frame.top, frame.right - frame.left,
               frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::MoveToSuggested(const RECT& suggested) {
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace sipo::ui
