// logo_image.cpp - the maker's logo at the top of the main window, a link to the maker's page.
#include "ui/controls/logo_image.h"

#include <commctrl.h>

#include <future>
#include <utility>

#include "resources/picture_ids.h"
#include "ui/base/accessible_object.h"
#include "ui/base/child_control.h"
#include "ui/base/designed_colours.h"
#include "ui/base/subclassed_control.h"
#include "ui/controls/picture_resource.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

constexpr UINT kPictureReady = WM_APP + 40;

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

// The parent colours the area around the picture, as for any static.
void PaintLogo(HWND hwnd, const Picture& picture) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  FillWithParentBackground(hwnd, dc);
  DrawPictureFrame(dc, picture, 0);
  EndPaint(hwnd, &ps);
}

// The picture is decoded on a thread of its own, started by the control's first paint: the
// window's controls are all made by then, and a decoder loading beside their making slows it. The
// control shows the background until the picture is ready.
class LogoImage : public SubclassedControl {
 public:
  explicit LogoImage(const std::wstring& address) : look_(LinkLook(address)) {}

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT:
        return OnPaint();
      case kPictureReady:
        return OnPictureReady();
      case WM_ERASEBKGND:
        return 1;
      case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
      case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      default:
        return Default(message, wParam, lParam);
    }
  }

 private:
  LRESULT OnPaint() {
    if (!started_) StartDecoding();
    PaintLogo(Handle(), picture_);
    return 0;
  }

  // A decoder's failure reaches the error box from here, on the window's thread.
  LRESULT OnPictureReady() {
    if (!decoding_.valid()) return 0;
    picture_ = decoding_.get();
    InvalidateRect(Handle(), nullptr, FALSE);
    return 0;
  }

  LRESULT OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (LRESULT answer = AnswerAccessibleObject(Handle(), wParam, lParam, look_)) return answer;
    return Default(WM_GETOBJECT, wParam, lParam);
  }

  void StartDecoding() {
    started_ = true;
    decoding_ = std::async(std::launch::async, [logo = Handle()] {
      Picture picture = Picture::FromResource(IDR_LOGO_JPEG, kWindowGrey);
      PostMessageW(logo, kPictureReady, 0, 0);
      return picture;
    });
  }

  AccessibleLook look_;
  bool started_ = false;
  std::future<Picture> decoding_;  // from the first paint until the picture is taken
  Picture picture_;
};

}  // namespace

// A static with SS_NOTIFY reports a click to its parent as STN_CLICKED; the subclass draws the
// picture unscaled and shows the hand cursor.
HWND CreateLogoImage(HWND parent, int id, const RECT& place, const std::wstring& address) {
  HWND logo =
      CreateChildControl(WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, parent, id, place);
  SubclassedControl::Attach<LogoImage>(logo, address);
  return logo;
}

}  // namespace sipo::ui
