// UI tests of the main window, run against the real program under Wine.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

constexpr COLORREF kGreen = 0x008000;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kYellow = 0x00FFFF;

// Screen contents follow a repaint with a short delay under Wine, so colours are polled.
int PixelsOf(const SipoApp& app, int id, COLORREF colour, int atLeast) {
  int count = 0;
  for (int attempt = 0; attempt < 40; ++attempt) {
    count = app.CountPixels(id, colour);
    if ((atLeast > 0 && count >= atLeast) || (atLeast == 0 && count == 0)) break;
    Sleep(50);
  }
  return count;
}

// The Unix locale that Wine was started with; the decimal separator follows it.
bool CzechLocale() {
  const char* locale = std::getenv("LC_ALL");
  return locale != nullptr && std::string(locale).rfind("cs_", 0) == 0;
}

TEST(MainForm, ShowsCaptionAndControlsWithCzechTexts) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  wchar_t caption[128] = {};
  GetWindowTextW(app.MainWindow(), caption, 128);
  EXPECT_STREQ(caption, L"Tamrix SIPO - ověření čísla");
  EXPECT_EQ(app.Text(IDC_SingleLabel), L"SIPO číslo ke kontrole :");
  EXPECT_EQ(app.Text(IDC_StatusLabel), L"Status :");
  EXPECT_EQ(app.Text(IDC_CloseButton), L"Zavřít");
  EXPECT_EQ(app.Text(IDC_StatusValue), L"");
  RECT client;
  GetClientRect(app.MainWindow(), &client);
  EXPECT_EQ(client.right, 379);
  EXPECT_EQ(client.bottom, 655);
  const LONG style = GetWindowLongW(app.MainWindow(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
}

struct StatusCase {
  const wchar_t* input;
  const wchar_t* status;
  COLORREF colour;
};

TEST(MainForm, StatusFollowsEveryChangeInTextAndColour) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const StatusCase cases[] = {
      {L"1234567897", L"platné číslo", kGreen},  {L"1234567890", L"neplatné číslo", kRed},
      {L"12345", L"neúplné číslo", kYellow},     {L"abc", L"není číslo", kYellow},
      {L" 1234567897", L"neplatné číslo", kRed}, {L"0000000000", L"není číslo", kYellow},
      {L"12345678901", L"neplatné číslo", kRed},
  };
  for (const auto& c : cases) {
    app.SetText(IDC_SingleEdit, c.input);
    EXPECT_EQ(app.Text(IDC_StatusValue), c.status) << "input " << testing::PrintToString(c.input);
    EXPECT_GT(PixelsOf(app, IDC_StatusValue, c.colour, 5), 4)
        << "input " << testing::PrintToString(c.input);
  }
  app.SetText(IDC_SingleEdit, L"");
  EXPECT_EQ(app.Text(IDC_StatusValue), L"");
  for (COLORREF colour : {kGreen, kRed, kYellow}) {
    EXPECT_EQ(PixelsOf(app, IDC_StatusValue, colour, 0), 0);
  }
}

// Relative luminance and contrast ratio of two colours, by the usual formula.
double Luminance(COLORREF c) {
  const auto channel = [](int v) {
    const double x = v / 255.0;
    return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) +
         0.0722 * channel(GetBValue(c));
}
double Contrast(COLORREF a, COLORREF b) {
  const double la = Luminance(a) + 0.05, lb = Luminance(b) + 0.05;
  return la > lb ? la / lb : lb / la;
}

// The yellow statuses on the light panel keep their yellow and stand out by an outline: every
// pixel that touches a yellow one is yellow too or stands at 3 : 1 or more against the panel.
TEST(MainForm, YellowStatusesStandOutFromTheLightPanel) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const COLORREF panel = GetSysColor(COLOR_BTNFACE);
  ASSERT_LT(Contrast(kYellow, panel), 3.0) << "the panel is not light";
  for (const wchar_t* text : {L"abc", L"12345"}) {
    app.SetText(IDC_SingleEdit, text);
    ASSERT_GT(PixelsOf(app, IDC_StatusValue, kYellow, 10), 9) << testing::PrintToString(text);
    HWND label = app.Control(IDC_StatusValue);
    RECT rc;
    GetWindowRect(label, &rc);
    const int width = rc.right - rc.left;
    const std::vector<COLORREF> pixels = ScreenPixels(label);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(width * (rc.bottom - rc.top)));
    int edges = 0, faint = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      if (pixels[i] != kYellow) continue;
      const int x = static_cast<int>(i) % width;
      for (const int step : {-1, 1, -width, width}) {
        const long long j = static_cast<long long>(i) + step;
        if (j < 0 || j >= static_cast<long long>(pixels.size())) continue;
        if ((step == -1 && x == 0) || (step == 1 && x == width - 1)) continue;
        if (pixels[j] == kYellow) continue;
        ++edges;
        if (Contrast(pixels[j], panel) < 3.0) ++faint;
      }
    }
    EXPECT_GT(edges, 0) << testing::PrintToString(text);
    EXPECT_EQ(faint, 0) << testing::PrintToString(text) << ": " << faint << " of " << edges
                        << " edge pixels stand faintly against the panel";
  }
}

TEST(MainForm, DecimalSeparatorComesFromTheUserLocale) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  // A decimal comma reads as a number only where it is the separator, and then it is a number
  // but no SIPO number.
  app.SetText(IDC_SingleEdit, L"12345,6786");
  EXPECT_EQ(app.Text(IDC_StatusValue), CzechLocale() ? L"neplatné číslo" : L"není číslo");
}

TEST(MainForm, EscapePutsBackTheTextFromWhenTheFieldGotTheFocus) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  app.Focus(IDC_CloseButton);
  app.SetText(IDC_SingleEdit, L"1234567897");
  app.Focus(IDC_SingleEdit);
  app.SetText(IDC_SingleEdit, L"12");
  EXPECT_EQ(app.Text(IDC_StatusValue), L"neúplné číslo");
  app.PressKey(IDC_SingleEdit, VK_ESCAPE);
  EXPECT_EQ(app.Text(IDC_SingleEdit), L"1234567897");
  EXPECT_EQ(app.Text(IDC_StatusValue), L"platné číslo");
}

// Sets the display's DPI for the programs started while it lives, as a user's scaling setting
// does, and puts the old value back.
class ScopedDpi {
 public:
  explicit ScopedDpi(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                    KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
    DWORD size = sizeof(old_);
    had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_),
                            &size) == ERROR_SUCCESS;
    Set(dpi);
  }
  ~ScopedDpi() {
    if (had_) {
      Set(old_);
    } else {
      RegDeleteValueW(key_, L"LogPixels");
    }
    RegCloseKey(key_);
  }

 private:
  void Set(DWORD dpi) {
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof(dpi));
  }
  HKEY key_ = nullptr;
  DWORD old_ = 96;
  bool had_ = false;
};

TEST(MainForm, SizesFollowTheDisplayScaling) {
  ScopedDpi dpi(144);
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  RECT client;
  GetClientRect(app.MainWindow(), &client);
  // 150 % of the design, halves rounded up as Windows' MulDiv rounds them.
  EXPECT_EQ(client.right, 569);   // 379
  EXPECT_EQ(client.bottom, 983);  // 655
  RECT edit;
  GetWindowRect(app.Control(IDC_SingleEdit), &edit);
  EXPECT_EQ(edit.right - edit.left, 182);                       // 121
  EXPECT_EQ(GridHeaderHeight(app.Control(IDC_MultiGrid)), 26);  // 17, a data row
}

TEST(MainForm, CloseButtonEndsTheProgramWithExitCodeZero) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  app.Click(IDC_CloseButton);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

}  // namespace
}  // namespace sipo::uitest
