// window_placement.cpp - each window's position, remembered in the settings file under its class.
#include "settings/window_placement.h"

#include <algorithm>
#include <limits>

#include "core/lenient_conversions.h"

namespace sipo {
namespace {

constexpr std::string_view kSection = "DIALOGS";

bool Overlaps(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
              const ScreenRect& area) {
  return left < area.right && right > area.left && top < area.bottom && bottom > area.top;
}

// Squared distance between the window's rectangle and a work area; 0 when they touch.
std::int64_t Distance(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                      const ScreenRect& area) {
  const std::int64_t dx = std::max<std::int64_t>({0, area.left - right, left - area.right});
  const std::int64_t dy = std::max<std::int64_t>({0, area.top - bottom, top - area.bottom});
  return dx * dx + dy * dy;
}

std::int32_t Clamp(std::int64_t value, std::int32_t low, std::int64_t high) {
  return static_cast<std::int32_t>(std::max<std::int64_t>(low, std::min(value, high)));
}

}  // namespace

std::string PointToText(std::int32_t left, std::int32_t top) {
  return IntToStrPlain(left) + "," + IntToStrPlain(top);
}

WindowPoint TextToPoint(std::string_view text) {
  text = text.substr(0, kConversionWindow);
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return {NoCoordinate, NoCoordinate};
  return {StrToIntLenient(text.substr(0, comma)), StrToIntLenient(text.substr(comma + 1))};
}

WindowPoint KeepOnScreen(WindowPoint topLeft, std::int32_t width, std::int32_t height,
                         const std::vector<ScreenRect>& workAreas) {
  const std::int64_t left = topLeft.left, top = topLeft.top;
  const std::int64_t right = left + width, bottom = top + height;
  const ScreenRect* nearest = nullptr;
  std::int64_t nearestDistance = std::numeric_limits<std::int64_t>::max();
  for (const ScreenRect& area : workAreas) {
    if (Overlaps(left, top, right, bottom, area)) return topLeft;
    const std::int64_t distance = Distance(left, top, right, bottom, area);
    if (distance < nearestDistance) {
      nearest = &area;
      nearestDistance = distance;
    }
  }
  if (nearest == nullptr) return topLeft;
  // A window larger than the area keeps its top-left corner inside it.
  return {Clamp(left, nearest->left, std::max<std::int64_t>(nearest->left, nearest->right - width)),
          Clamp(top, nearest->top, std::max<std::int64_t>(nearest->top, nearest->bottom - height))};
}

void RestorePlacement(SettingsStore& store, PlacedWindow& window) {
  const WindowPoint stored =
      TextToPoint(store.ReadSettingTextOr(kSection, window.ClassName(), "0,0"));
  if (stored == WindowPoint{NoCoordinate, NoCoordinate}) return;
  const WindowPoint shown =
      KeepOnScreen(stored, window.Width(), window.Height(), window.WorkAreas());
  window.MoveTo(shown.left, shown.top);
}

void SavePlacement(SettingsStore& store, const PlacedWindow& window) {
  store.WriteSettingText(kSection, window.ClassName(), PointToText(window.Left(), window.Top()));
}

}  // namespace sipo
