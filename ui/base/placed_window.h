// placed_window.h - a top-level window as the settings' placement rules see it.
#pragma once

#include <windows.h>

#include <string>

#include "settings/window_placement.h"

namespace sipo::ui {

// Position and size in screen pixels, and the work areas of the monitors attached now.
class PlacedHwnd : public PlacedWindow {
 public:
  PlacedHwnd(HWND window, std::string className)
      : hwnd_(window), className_(std::move(className)) {}

  std::string ClassName() const override { return className_; }
  std::int32_t Left() const override { return Rect().left; }
  std::int32_t Top() const override { return Rect().top; }
  std::int32_t Width() const override { return Rect().right - Rect().left; }
  std::int32_t Height() const override { return Rect().bottom - Rect().top; }
  void SetLeft(std::int32_t left) override;
  void SetTop(std::int32_t top) override;
  // One move for both coordinates.
  void MoveTo(std::int32_t left, std::int32_t top) override;
  std::vector<ScreenRect> WorkAreas() const override;

 private:
  RECT Rect() const;

  HWND hwnd_;
  std::string className_;
};

}  // namespace sipo::ui
