// outlined_text.cpp - a label whose faint text is drawn with a one-pixel outline: the yellow of
// an unfinished number stands at about 1.1 : 1 on a light panel, and nobody could read it.
#include "ui/controls/outlined_text.h"

#include <cmath>
#include <string>

#include "ui/base/subclassed_control.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

constexpr double kLeastContrast = 3.0;
constexpr int kOutline = 1;  // pixels on each side of a glyph

double Channel(int value) {
  const double c = value / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(COLORREF colour) {
  return 0.2126 * Channel(GetRValue(colour)) + 0.7152 * Channel(GetGValue(colour)) +
         0.0722 * Channel(GetBValue(colour));
}

// A font drawn without smoothing, so that the outline's edge is one clean colour.
class SharpFont {
 public:
  explicit SharpFont(HFONT font) {
    LOGFONTW logFont{};
    if (font != nullptr && GetObjectW(font, sizeof(logFont), &logFont) != 0) {
      logFont.lfQuality = NONANTIALIASED_QUALITY;
      font_ = CreateFontIndirectW(&logFont);
    }
  }
  ~SharpFont() {
    if (font_ != nullptr) DeleteObject(font_);
  }
  SharpFont(const SharpFont&) = delete;
  SharpFont& operator=(const SharpFont&) = delete;
  HFONT Handle(HFONT fallback) const { return font_ != nullptr ? font_ : fallback; }

 private:
  HFONT font_ = nullptr;
};

class OutlinedText : public SubclassedControl {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT:
        Paint();
        return 0;
      case WM_ERASEBKGND:
        return 1;  // the paint fills the whole label
      case WM_WINDOWPOSCHANGING:
        Widen(*reinterpret_cast<WINDOWPOS*>(lParam));
        return Default(message, wParam, lParam);
      default:
        return Default(message, wParam, lParam);
    }
  }

 private:
  // Room for the outline left and right of a label fitted to its text.
  static void Widen(WINDOWPOS& position) {
    if ((position.flags & SWP_NOSIZE) == 0) position.cx += 2 * kOutline;
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    // The parent sets the colours, as it does for a plain label.
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(Handle()), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(Handle())));
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
    const std::wstring text = win::GetWideText(Handle());
    if (!text.empty()) DrawLabelText(dc, text);
    EndPaint(Handle(), &paint);
  }

  void DrawLabelText(HDC dc, const std::wstring& text) {
    const COLORREF colour = GetTextColor(dc);
    const COLORREF background = GetBkColor(dc);
    auto font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    const int length = static_cast<int>(text.size());
    if (ContrastRatio(colour, background) >= kLeastContrast) {
      HGDIOBJ old = SelectObject(dc, font);
      TextOutW(dc, kOutline, 0, text.c_str(), length);
      SelectObject(dc, old);
      return;
    }
    const SharpFont sharp(font);
    HGDIOBJ old = SelectObject(dc, sharp.Handle(font));
    // Above a luminance of about 0.18 black stands out more than white does.
    SetTextColor(dc, Luminance(colour) > 0.18 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    for (int dy = -kOutline; dy <= kOutline; ++dy) {
      for (int dx = -kOutline; dx <= kOutline; ++dx) {
        if (dx != 0 || dy != 0) TextOutW(dc, kOutline + dx, dy, text.c_str(), length);
      }
    }
    SetTextColor(dc, colour);
    TextOutW(dc, kOutline, 0, text.c_str(), length);
    SelectObject(dc, old);
  }
};

}  // namespace

double ContrastRatio(COLORREF a, COLORREF b) {
  const double la = Luminance(a) + 0.05;
  const double lb = Luminance(b) + 0.05;
  return la > lb ? la / lb : lb / la;
}

void InstallOutlinedText(HWND label) {
  SubclassedControl::Attach<OutlinedText>(label);
}

}  // namespace sipo::ui
