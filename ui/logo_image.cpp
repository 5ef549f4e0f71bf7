// logo_image.cpp - the maker's logo at the top of the main window, a link to the maker's page.
#include "ui/logo_image.h"

#include <commctrl.h>

#include "resources/picture_ids.h"
#include "ui/picture_resource.h"

namespace sipo::ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr COLORREF kMatte = 0x717679;  // the window's grey, should the picture be transparent

// The parent colours the area around the picture, as for any static.
void PaintLogo(HWND hwnd, const Picture& picture) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT rc;
  GetClientRect(hwnd, &rc);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(hwnd)));
  FillRect(dc, &rc, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
  if (!picture.Empty()) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture.Frames().front().bitmap);
    BitBlt(dc, 0, 0, picture.Size().cx, picture.Size().cy, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK LogoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR refData) {
  auto* picture = reinterpret_cast<Picture*>(refData);
  switch (message) {
    case WM_PAINT:
      PaintLogo(hwnd, *picture);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, LogoProc, kSubclassId);
      delete picture;
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

// A static with SS_NOTIFY reports a click to its parent as STN_CLICKED; the subclass draws the
// picture unscaled and shows the hand cursor.
HWND CreateLogoImage(HWND parent, int id) {
  HWND logo = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, 0, 0,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  if (logo != nullptr) {
    auto* picture = new Picture(Picture::FromResource(IDR_LOGO_JPEG, kMatte));
    SetWindowSubclass(logo, LogoProc, kSubclassId, reinterpret_cast<DWORD_PTR>(picture));
  }
  return logo;
}

}  // namespace sipo::ui
