// window_placement.h - each window's position, remembered in the settings file under its class.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"

namespace sipo {

// Both coordinates of a stored text without a comma.
inline constexpr std::int32_t NoCoordinate = -2147483647;

struct WindowPoint {
  std::int32_t left = 0;
  std::int32_t top = 0;
  bool operator==(const WindowPoint&) const = default;
};

struct ScreenRect {
  std::int32_t left, top, right, bottom;
};

std::string PointToText(std::int32_t left, std::int32_t top);
WindowPoint TextToPoint(std::string_view text);

// A window that would lie entirely outside every work area is moved onto the nearest one;
// a window that shows at least in part stays where it is.
WindowPoint KeepOnScreen(WindowPoint topLeft, std::int32_t width, std::int32_t height,
                         const std::vector<ScreenRect>& workAreas);

// What a window offers: its class name, its outer position and size, and the screens' work areas.
class PlacedWindow {
 public:
  virtual ~PlacedWindow() = default;
  virtual std::string ClassName() const = 0;
  virtual std::int32_t Left() const = 0;
  virtual std::int32_t Top() const = 0;
  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
  virtual void SetLeft(std::int32_t left) = 0;
  virtual void SetTop(std::int32_t top) = 0;
  // Both coordinates; a window that can move in one step does so.
  virtual void MoveTo(std::int32_t left, std::int32_t top) {
    SetTop(top);
    SetLeft(left);
  }
  virtual std::vector<ScreenRect> WorkAreas() const = 0;
};

// Moves the window to its stored position (MoveTo). A stored text without a comma counts as no
// position: the window keeps its designed one.
void RestorePlacement(SettingsStore& store, PlacedWindow& window);
void SavePlacement(SettingsStore& store, const PlacedWindow& window);

}  // namespace sipo
