// multi_grid.h - the clipboard list's grid of numbers and their status.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "batch/clipboard_list.h"
#include "ui/base/window_base.h"

namespace sipo::ui {

// A frame around a virtual report list: the list asks for the rows it shows, so any number of
// rows costs the same to show. The header row ("Číslo", "Status") is the list's header.
class MultiGrid : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"TMultiGrid";
  static constexpr int kStartRows = 9;

  MultiGrid() = default;
  ~MultiGrid() override;
  MultiGrid(const MultiGrid&) = delete;
  MultiGrid& operator=(const MultiGrid&) = delete;

  // Makes the grid's frame at place, to hold kStartRows empty, uncoloured rows in font; the
  // header row takes the bold form of that font. A later WM_SETFONT changes the font. The list
  // itself comes with CreateList, so that a window can show before its list, its fonts and
  // columns are made: called before the window's first paint, the grid shows no different.
  HWND Create(HWND parent, int id, const RECT& place, HFONT font);
  // Makes the list in the frame, with its fonts, columns and rows, at the frame's size. Once.
  void CreateList();

  // An import's rows, each in its own colour. No rows leaves one empty, uncoloured row.
  void SetRows(std::vector<MultiRow> rows);
  // The data rows as shown (the header row not included).
  std::span<const MultiRow> Rows() const { return rows_; }
  HWND List() const { return list_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void MakeList();
  void SetFont(HFONT font);
  void GiveFonts(HFONT font, BOOL redraw);
  void LayOut();
  void ShowRowCount();
  void DrawRow(const DRAWITEMSTRUCT& item);
  RECT ColumnBounds(int column) const;
  void DrawCell(HDC dc, RECT cell, const std::wstring& text, COLORREF background,
                COLORREF textColour);
  int Scale(int pixels96) const;

  HWND list_ = nullptr;
  HFONT font_ = nullptr;
  HFONT headerFont_ = nullptr;  // owned
  std::vector<MultiRow> rows_;
  bool coloured_ = false;  // rows from an import carry their colour; empty rows have none
};

}  // namespace sipo::ui
