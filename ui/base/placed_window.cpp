// placed_window.cpp - a top-level window as the settings' placement rules see it.
#include "ui/base/placed_window.h"

#include "win/callback_guard.h"

namespace sipo::ui {
namespace {

// A list that cannot grow ends the enumeration with the areas found so far.
BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  return win::GuardCallback(FALSE, [&] {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) {
      const RECT& w = info.rcWork;
      reinterpret_cast<std::vector<ScreenRect>*>(param)->push_back(
          {w.left, w.top, w.right, w.bottom});
    }
    return TRUE;
  });
}

}  // namespace

// A minimised window reports the iconic position; the placement of its normal state counts.
RECT PlacedHwnd::Rect() const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (IsIconic(hwnd_) && GetWindowPlacement(hwnd_, &placement)) return placement.rcNormalPosition;
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  return rc;
}

void PlacedHwnd::MoveTo(std::int32_t left, std::int32_t top) {
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlacedHwnd::SetLeft(std::int32_t left) {
  MoveTo(left, Top());
}

void PlacedHwnd::SetTop(std::int32_t top) {
  MoveTo(Left(), top);
}

std::vector<ScreenRect> PlacedHwnd::WorkAreas() const {
  std::vector<ScreenRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

}  // namespace sipo::ui
