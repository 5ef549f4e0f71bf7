// multi_grid.h - the clipboard list's grid of numbers and their status.
#pragma once

#include <windows.h>

namespace sipo::ui {

class MultiGrid {
 public:
  // The owner places the grid and gives it its font.
  HWND Create(HWND parent, int id);
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace sipo::ui
