// multi_grid.cpp - the clipboard list's grid of numbers and their status.
#include "ui/controls/multi_grid.h"

#include <commctrl.h>

#include "ui/base/child_control.h"
#include "ui/base/contrast_colours.h"
#include "ui/base/start_steps.h"
#include "ui/base/subclassed_control.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

// Pixels at 96 dpi.
constexpr int kColumnWidths[] = {121, 132};
constexpr int kRowHeight = 17;
constexpr int kTextMargin = 2;

// "Číslo", "Status"
constexpr const char* kHeaders[] = {"\xC8\xEDslo", "Status"};

// The header row is as high as a data row; the header control alone sizes itself by its bold
// font, a pixel off the rows at some scalings. The list asks for this layout whenever it resizes.
class GridHeader : public SubclassedControl {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == HDM_LAYOUT) return OnLayout(wParam, reinterpret_cast<HDLAYOUT*>(lParam));
    return Default(message, wParam, lParam);
  }

 private:
  LRESULT OnLayout(WPARAM wParam, HDLAYOUT* layout) {
    const LRESULT done = Default(HDM_LAYOUT, wParam, reinterpret_cast<LPARAM>(layout));
    const int height = ScaleForDpi(kRowHeight, GetDpiForWindow(Handle()));
    if (done && layout->pwpos->cy > 0) {
      layout->pwpos->cy = height;
      layout->prc->top = layout->pwpos->y + height;
    }
    return done;
  }
};

}  // namespace

MultiGrid::~MultiGrid() {
  if (Handle() != nullptr) DestroyWindow(Handle());
  DeleteObject(headerFont_);
}

HWND MultiGrid::Create(HWND parent, int id, const RECT& place, HFONT font) {
  RegisterClassOnce(kClassName, GetSysColorBrush(COLOR_WINDOW), nullptr);
  HWND hwnd = CreateFor(kClassName, L"", WS_CHILD | WS_VISIBLE, WS_EX_CONTROLPARENT, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, parent);
  SetWindowLongPtrW(hwnd, GWLP_ID, id);
  font_ = font;
  rows_.assign(kStartRows, MultiRow{});
  return hwnd;
}

// The list is made hidden, given everything, sized to the frame, which makes it measure its rows
// and lay out its header once, and only then shown.
void MultiGrid::CreateList() {
  if (list_ != nullptr) return;
  MakeList();
  MarkStartStep("g-cols");
  ShowRowCount();
  MarkStartStep("g-rows");
  RECT client;
  GetClientRect(Handle(), &client);
  SetWindowPos(list_, nullptr, 0, 0, client.right, client.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  MarkStartStep("g-size");
}

// Owner-drawn rows give each cell its own background and every row the same fixed height;
// the list stays a virtual one, so it holds no copy of the rows. It carries the grid's
// identifier, as it is the part that takes the focus. It gets its fonts and columns before its
// first size, so nothing is measured twice.
void MultiGrid::MakeList() {
  list_ = CreateChildControl(WC_LISTVIEWW, L"",
                             WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                 LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                             Handle(), GetDlgCtrlID(Handle()), RECT{}, WS_EX_CLIENTEDGE);
  MarkStartStep("g-list");
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  SubclassedControl::Attach<GridHeader>(ListView_GetHeader(list_));
  MarkStartStep("g-style");
  GiveFonts(font_, FALSE);
  MarkStartStep("g-fonts");
  for (int column = 0; column < 2; ++column) {
    std::wstring title = win::Widen(kHeaders[column]);
    LVCOLUMNW spec{};
    spec.mask = LVCF_TEXT | LVCF_WIDTH;
    spec.pszText = title.data();
    spec.cx = Scale(kColumnWidths[column]);
    ListView_InsertColumn(list_, column, &spec);
  }
}

void MultiGrid::SetRows(std::vector<MultiRow> rows) {
  coloured_ = !rows.empty();
  rows_ = std::move(rows);
  if (rows_.empty()) rows_.emplace_back();
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ShowRowCount();
  ListView_EnsureVisible(list_, 0, FALSE);
}

void MultiGrid::ShowRowCount() {
  ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), 0);
  InvalidateRect(list_, nullptr, TRUE);
}

int MultiGrid::Scale(int pixels96) const {
  return ScaleForDpi(pixels96, GetDpiForWindow(Handle()));
}

void MultiGrid::SetFont(HFONT font) {
  GiveFonts(font, TRUE);
  LayOut();
}

// The header row is the bold form of the grid's font.
void MultiGrid::GiveFonts(HFONT font, BOOL redraw) {
  font_ = font;
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  LOGFONTW bold{};
  GetObjectW(font, sizeof(bold), &bold);
  bold.lfWeight = FW_BOLD;
  DeleteObject(headerFont_);
  headerFont_ = CreateFontIndirectW(&bold);
  SendMessageW(ListView_GetHeader(list_), WM_SETFONT, reinterpret_cast<WPARAM>(headerFont_),
               redraw);
}

// The list measures its rows when its size or place changes, so a new font or DPI is followed
// by a move that makes it ask again.
void MultiGrid::LayOut() {
  if (list_ == nullptr) return;  // the frame's first size comes before the list is made
  RECT rc;
  GetClientRect(Handle(), &rc);
  for (int column = 0; column < 2; ++column) {
    ListView_SetColumnWidth(list_, column, Scale(kColumnWidths[column]));
  }
  SetWindowPos(list_, nullptr, 0, 0, rc.right, rc.bottom + 1, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(list_, nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A column's left and right in the list's client area: the header's item, which follows the
// horizontal scrolling, so the cells stand exactly under their titles.
RECT MultiGrid::ColumnBounds(int column) const {
  HWND header = ListView_GetHeader(list_);
  RECT item{};
  Header_GetItemRect(header, column, &item);
  MapWindowPoints(header, list_, reinterpret_cast<POINT*>(&item), 2);
  return item;
}

void MultiGrid::DrawCell(HDC dc, RECT cell, const std::wstring& text, COLORREF background,
                         COLORREF textColour) {
  SetBkColor(dc, background);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
  SetTextColor(dc, textColour);
  RECT inner = cell;
  inner.left += Scale(kTextMargin);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  // Grid lines on the right and bottom edge of every cell.
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, GetSysColor(COLOR_BTNFACE));
  MoveToEx(dc, cell.right - 1, cell.top, nullptr);
  LineTo(dc, cell.right - 1, cell.bottom - 1);
  LineTo(dc, cell.left - 1, cell.bottom - 1);
  SelectObject(dc, oldPen);
}

// Both cells of a row in the row's colour; the text keeps the grid's normal colour. A selected
// row shows in the selection colours.
void MultiGrid::DrawRow(const DRAWITEMSTRUCT& item) {
  if (item.itemID >= rows_.size()) return;
  const MultiRow& row = rows_[item.itemID];
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  COLORREF background = GridRowBackground(coloured_ ? row.colour : GetSysColor(COLOR_WINDOW));
  COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  if (selected) {
    background = GetSysColor(COLOR_HIGHLIGHT);
    text = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  HDC dc = item.hDC;
  HGDIOBJ oldFont = SelectObject(dc, font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  RECT cell = item.rcItem;
  for (int column = 0; column < 2; ++column) {
    const RECT bounds = ColumnBounds(column);
    cell.left = bounds.left;
    cell.right = bounds.right;
    DrawCell(dc, cell, win::Widen(column == 0 ? row.number : row.status), background, text);
  }
  if ((item.itemState & ODS_FOCUS) != 0 && GetFocus() == list_) {
    RECT focus = item.rcItem;
    focus.left = ColumnBounds(0).left;
    focus.right = cell.right;
    DrawFocusRect(dc, &focus);
  }
  SelectObject(dc, oldFont);
}

LRESULT MultiGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFONT:
      SetFont(reinterpret_cast<HFONT>(wParam));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_SETFOCUS:
      SetFocus(list_);
      return 0;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = Scale(kRowHeight);
      return TRUE;
    case WM_DRAWITEM:
      DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_NOTIFY:
      // The list asks for texts only when it is not drawn by its owner (accessibility, tips).
      if (reinterpret_cast<const NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if ((info->item.mask & LVIF_TEXT) != 0 && info->item.cchTextMax > 0 &&
            static_cast<std::size_t>(info->item.iItem) < rows_.size()) {
          const MultiRow& row = rows_[static_cast<std::size_t>(info->item.iItem)];
          const std::wstring text = win::Widen(info->item.iSubItem == 0 ? row.number : row.status);
          lstrcpynW(info->item.pszText, text.c_str(), info->item.cchTextMax);
        }
        return 0;
      }
      return Default(message, wParam, lParam);
    default:
      return Default(message, wParam, lParam);
  }
}

}  // namespace sipo::ui
