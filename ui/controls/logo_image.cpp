// logo_image.cpp - the maker's logo at the top of the main window, a link to the maker's page.
#include "ui/controls/logo_image.h"

#include <commctrl.h>

#include <future>
#include <utility>

#include "resources/picture_ids.h"
#include "ui/base/accessible_object.h"
#include "ui/base/child_control.h"
#include "ui/base/designed_colours.h"
#include "ui/controls/picture_resource.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT kPictureReady = WM_APP + 40;

// The picture is decoded on a thread of its own, started by the control's first paint: the
// window's controls are all made by then, and a decoder loading beside their making slows it. The
// control shows the background until the picture is ready.
struct LogoState {
  explicit LogoState(AccessibleLook link) : look(std::move(link)) {}

  AccessibleLook look;
  bool started = false;
  std::future<Picture> decoding;
  Picture picture;
};

// Named for where it leads; its default action is the click's.
AccessibleLook LinkLook(const std::wstring& address) {
  AccessibleLook look(ROLE_SYSTEM_LINK,
                      win::Widen("Webov\xE9 str\xE1nky v\xFDrobce"));  // Webové stránky výrobce
  look.value = address;
  look.defaultAction = win::Widen(
      "P\xF8"
      "ej\xEDt");  // Přejít
  look.actionNotification = STN_CLICKED;
  return look;
}

void StartDecoding(HWND logo, LogoState& state) {
  state.started = true;
  state.decoding = std::async(std::launch::async, [logo] {
    Picture picture = Picture::FromResource(IDR_LOGO_JPEG, kWindowGrey);
    PostMessageW(logo, kPictureReady, 0, 0);
    return picture;
  });
}

// The parent colours the area around the picture, as for any static.
void PaintLogo(HWND hwnd, const Picture& picture) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  FillWithParentBackground(hwnd, dc);
  DrawPictureFrame(dc, picture, 0);
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK LogoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR refData) {
  auto* state = reinterpret_cast<LogoState*>(refData);
  switch (message) {
    case WM_PAINT:
      if (!state->started) StartDecoding(hwnd, *state);
      PaintLogo(hwnd, state->picture);
      return 0;
    case kPictureReady:
      state->picture = state->decoding.get();
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETOBJECT:
      if (LRESULT answer = AnswerAccessibleObject(hwnd, wParam, lParam, state->look)) {
        return answer;
      }
      break;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, LogoProc, kSubclassId);
      delete state;
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

// A static with SS_NOTIFY reports a click to its parent as STN_CLICKED; the subclass draws the
// picture unscaled and shows the hand cursor.
HWND CreateLogoImage(HWND parent, int id, const std::wstring& address) {
  HWND logo = CreateChildControl(WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, parent, id);
  if (logo != nullptr) {
    auto* state = new LogoState(LinkLook(address));
    SetWindowSubclass(logo, LogoProc, kSubclassId, reinterpret_cast<DWORD_PTR>(state));
  }
  return logo;
}

}  // namespace sipo::ui
