// gradient_button.cpp - the program's push button: a two-half gradient face in three states.
#include "ui/controls/gradient_button.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "ui/base/accessible_object.h"
#include "ui/base/child_control.h"
#include "ui/base/contrast_colours.h"
#include "ui/base/subclassed_control.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

// wParam: the thousandths of the face to fill, or -1.
constexpr UINT kSetProgress = WM_APP + 1;

struct Gradient {
  COLORREF top, bottom;
};

struct FaceColours {
  Gradient upper, lower;
  COLORREF border;
};

constexpr FaceColours kActionNormal = {{0xEEDBC8, 0xF6DDC9}, {0xEDD4C0, 0xF7E1D0}, 0xE0B99B};
constexpr FaceColours kWindowNormal = {{0xDFDED6, 0xE4E2DB}, {0xD7D5CE, 0xE7E5E0}, 0xC0BCB2};
constexpr FaceColours kHot = {{0xEBFDFF, 0xACECFF}, {0x59DAFF, 0xA4E9FF}, 0x99CEDB};
constexpr FaceColours kPressed = {{0x76AFF1, 0x4190F3}, {0x0E72F1, 0x4C9FFD}, 0x45667B};

// What the face is drawn from; the base button keeps the pushed and focus states.
struct ButtonData {
  ButtonGroup group;
  bool hot = false;  // the mouse is over the button
  // The part of the face filled as a progress bar, in thousandths; -1 for none.
  int progress = -1;
};

int Mix(int from, int to, int step, int steps) {
  return steps <= 1 ? from : from + (to - from) * step / (steps - 1);
}

// One colour a row, so that the first row has the top colour and the last the bottom colour
// exactly.
void FillGradient(HDC dc, RECT area, Gradient g) {
  const int rows = area.bottom - area.top;
  for (int row = 0; row < rows; ++row) {
    const COLORREF colour = RGB(Mix(GetRValue(g.top), GetRValue(g.bottom), row, rows),
                                Mix(GetGValue(g.top), GetGValue(g.bottom), row, rows),
                                Mix(GetBValue(g.top), GetBValue(g.bottom), row, rows));
    SetDCBrushColor(dc, colour);
    const RECT line = {area.left, area.top + row, area.right, area.top + row + 1};
    FillRect(dc, &line, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
}

bool Pressed(HWND button) {
  return (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

bool Hot(HWND button, const ButtonData& data) {
  return data.hot && IsWindowEnabled(button);
}

// In high contrast the face is one flat system colour; the state shows in its colours as before.
FaceColours ColoursFor(HWND button, const ButtonData& data) {
  if (HighContrastOn()) {
    const ContrastFace c = ContrastButtonFace(Hot(button, data), Pressed(button));
    return {{c.face, c.face}, {c.face, c.face}, c.border};
  }
  if (Pressed(button)) return kPressed;
  if (Hot(button, data)) return kHot;
  return data.group == ButtonGroup::Window ? kWindowNormal : kActionNormal;
}

COLORREF CaptionColour(HWND button, const ButtonData& data) {
  if (!IsWindowEnabled(button)) return GetSysColor(COLOR_GRAYTEXT);
  if (HighContrastOn()) return ContrastButtonFace(Hot(button, data), Pressed(button)).text;
  return GetSysColor(COLOR_BTNTEXT);
}

void DrawFace(HDC dc, RECT rc, const FaceColours& colours) {
  SetDCBrushColor(dc, colours.border);
  FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  InflateRect(&rc, -1, -1);
  const int middle = rc.top + (rc.bottom - rc.top) / 2;
  FillGradient(dc, {rc.left, rc.top, rc.right, middle}, colours.upper);
  FillGradient(dc, {rc.left, middle, rc.right, rc.bottom}, colours.lower);
}

// A stronger blue than the action face, so that the bar reads on the normal and the hot face.
constexpr Gradient kProgressUpper = {0xF0C9A6, 0xE9BB94};
constexpr Gradient kProgressLower = {0xE0AC80, 0xEEC29E};

void DrawProgress(HDC dc, RECT rc, int thousandths) {
  InflateRect(&rc, -1, -1);
  rc.right = rc.left + MulDiv(rc.right - rc.left, thousandths, 1000);
  const int middle = rc.top + (rc.bottom - rc.top) / 2;
  FillGradient(dc, {rc.left, rc.top, rc.right, middle}, kProgressUpper);
  FillGradient(dc, {rc.left, middle, rc.right, rc.bottom}, kProgressLower);
}

// The caption wraps at word ends and is centred both ways.
void DrawCaption(HWND button, HDC dc, RECT rc, COLORREF colour) {
  const std::wstring text = win::GetWideText(button);
  HGDIOBJ oldFont =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  InflateRect(&rc, -3, -2);
  RECT measured = rc;
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  DrawTextW(dc, text.c_str(), -1, &measured, format | DT_CALCRECT);
  const int height = measured.bottom - measured.top;
  if (height < rc.bottom - rc.top) rc.top += (rc.bottom - rc.top - height) / 2;
  DrawTextW(dc, text.c_str(), -1, &rc, format);
  SelectObject(dc, oldFont);
}

// Drawn off screen and copied at once, so that a state change does not flicker.
void Paint(HWND button, const ButtonData& data, HDC dc) {
  RECT rc;
  GetClientRect(button, &rc);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, rc.right, rc.bottom);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  const FaceColours colours = ColoursFor(button, data);
  DrawFace(memory, rc, colours);
  if (data.progress > 0) DrawProgress(memory, rc, data.progress);
  const COLORREF caption = CaptionColour(button, data);
  DrawCaption(button, memory, rc, caption);
  // The keyboard focus is always shown, whether or not the keyboard has been used yet.
  if (GetFocus() == button) {
    RECT focus = rc;
    InflateRect(&focus, -3, -3);
    // In high contrast the dotted frame is drawn in the caption's colour over the face's.
    const bool contrast = HighContrastOn();
    SetTextColor(memory, contrast ? caption : RGB(0, 0, 0));
    SetBkColor(memory, contrast ? colours.upper.top : RGB(255, 255, 255));
    DrawFocusRect(memory, &focus);
  }
  BitBlt(dc, 0, 0, rc.right, rc.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

void NotifyClicked(HWND button) {
  SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

// The messages after which the base button's state may have changed.
bool MayChangeState(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_CAPTURECHANGED:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case BM_SETSTATE:
      return true;
    default:
      return false;
  }
}

// The base is an owner-drawn button, which never paints its own face; its pushed state, mouse
// capture, Space key and BM_CLICK stay as Windows makes them, and every message that may change
// the state repaints the face.
class GradientButton : public SubclassedControl {
 public:
  explicit GradientButton(ButtonGroup group) : data_{group} {}

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT:
        return OnPaint();
      case WM_PRINTCLIENT:
        return OnPrintClient(reinterpret_cast<HDC>(wParam));
      case WM_ERASEBKGND:
        return 1;
      case WM_GETOBJECT:
        return OnGetObject(wParam, lParam);
      case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
      case WM_MOUSELEAVE:
        return OnMouseLeave(wParam, lParam);
      case kSetProgress:
        return OnSetProgress(static_cast<int>(wParam));
      case WM_GETDLGCODE:
        return OnGetDlgCode(wParam, lParam);
      case WM_KEYDOWN:
        return OnKeyDown(wParam, lParam);
      default:
        return DefaultAndRepaint(message, wParam, lParam);
    }
  }

 private:
  LRESULT DefaultAndRepaint(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(message, wParam, lParam);
    if (MayChangeState(message)) InvalidateRect(Handle(), nullptr, FALSE);
    return result;
  }

  LRESULT OnPaint() {
    PAINTSTRUCT ps;
    Paint(Handle(), data_, BeginPaint(Handle(), &ps));
    EndPaint(Handle(), &ps);
    return 0;
  }

  LRESULT OnPrintClient(HDC dc) {
    Paint(Handle(), data_, dc);
    return 0;
  }

  // Windows' standard object for an owner-drawn button may not call it a push button.
  LRESULT OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (LRESULT answer = AnswerAccessibleObject(Handle(), wParam, lParam,
                                                AccessibleLook(ROLE_SYSTEM_PUSHBUTTON))) {
      return answer;
    }
    return Default(WM_GETOBJECT, wParam, lParam);
  }

  // While the button holds the mouse, the pointer may be outside it.
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam) {
    RECT rc;
    GetClientRect(Handle(), &rc);
    TrackHot(PtInRect(&rc, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE);
    return DefaultAndRepaint(WM_MOUSEMOVE, wParam, lParam);
  }

  LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam) {
    TrackHot(false);
    return Default(WM_MOUSELEAVE, wParam, lParam);
  }

  LRESULT OnSetProgress(int progress) {
    if (progress != data_.progress) {
      data_.progress = progress;
      InvalidateRect(Handle(), nullptr, FALSE);
    }
    return 0;
  }

  // The dialog navigation would turn Enter into a command for a default button, which this
  // window has none of; the focused button takes Enter itself instead.
  LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    const LRESULT code = Default(WM_GETDLGCODE, wParam, lParam);
    const bool enter = msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN;
    return enter ? code | DLGC_WANTMESSAGE : code;
  }

  LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) {
    if (wParam != VK_RETURN) return DefaultAndRepaint(WM_KEYDOWN, wParam, lParam);
    if ((lParam & (1 << 30)) == 0) NotifyClicked(Handle());  // a held key clicks once
    return 0;
  }

  void TrackHot(bool hot) {
    if (data_.hot == hot) return;
    data_.hot = hot;
    if (hot) {
      TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, Handle(), 0};
      TrackMouseEvent(&track);
    }
    InvalidateRect(Handle(), nullptr, FALSE);
  }

  ButtonData data_;
};

}  // namespace

HWND CreateGradientButton(HWND parent, int id, const RECT& place, const std::wstring& text,
                          ButtonGroup group) {
  HWND button =
      CreateChildControl(WC_BUTTONW, text.c_str(),
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, parent, id, place);
  SubclassedControl::Attach<GradientButton>(button, group);
  return button;
}

void SetButtonProgress(HWND button, double fraction) {
  const int progress =
      fraction < 0 ? -1 : static_cast<int>((fraction < 1 ? fraction : 1) * 1000 + 0.5);
  SendMessageW(button, kSetProgress, static_cast<WPARAM>(progress), 0);
}

}  // namespace sipo::ui
