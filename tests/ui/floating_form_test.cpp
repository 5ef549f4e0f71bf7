// UI tests of the floating window: following the clipboard, raising itself, one window at a
// time, the main window minimised meanwhile, and its remembered position.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

constexpr COLORREF kGreen = 0x008000;
constexpr COLORREF kRed = 0x0000FF;

HWND OpenFloating(const SipoApp& app) {
  app.Click(IDC_FloatingClipButton);
  return app.WaitForWindow(L"TFloatingForm", 10000);
}

// Polls for a condition; the floating window works on its own timer.
template <class Condition>
bool Eventually(Condition condition, DWORD timeoutMs = 3000) {
  const DWORD start = GetTickCount();
  do {
    if (condition()) return true;
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  return condition();
}

// True when a stands above b in the window stack.
bool IsAbove(HWND a, HWND b) {
  for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == a) return true;
    if (w == b) return false;
  }
  return false;
}

// A topmost window of the test's own over the floating window, standing for the program the
// user copies numbers from.
class Cover {
 public:
  explicit Cover(HWND over) {
    RECT rc;
    GetWindowRect(over, &rc);
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"",
                            WS_POPUP | WS_VISIBLE, rc.left, rc.top, rc.right - rc.left,
                            rc.bottom - rc.top, nullptr, nullptr, nullptr, nullptr);
  }
  ~Cover() { DestroyWindow(hwnd_); }
  Cover(const Cover&) = delete;
  Cover& operator=(const Cover&) = delete;
  HWND Handle() const { return hwnd_; }
  void ComeOnTop() const {
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  void Hide() const { ShowWindow(hwnd_, SW_HIDE); }

 private:
  HWND hwnd_;
};

std::string SettingsText(const SipoApp& app) {
  std::string text;
  HANDLE file = CreateFileW((app.Folder() + L"\\Zerbanix.ini").c_str(), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
    text.append(buffer, read);
  CloseHandle(file);
  return text;
}

POINT TopLeft(HWND window) {
  RECT rc;
  GetWindowRect(window, &rc);
  return {rc.left, rc.top};
}

TEST(FloatingForm, IsASmallTopmostToolWindowAndMinimisesTheMainWindow) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  HWND floating = OpenFloating(app);
  ASSERT_NE(floating, nullptr);
  EXPECT_EQ(WindowText(floating), L"SIPO kontrola");
  RECT client;
  GetClientRect(floating, &client);
  EXPECT_EQ(client.right, 260);
  EXPECT_EQ(client.bottom, 48);
  const LONG exStyle = GetWindowLongW(floating, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_EQ(WindowText(FindControl(floating, IDC_SingleLabel)), L"SIPO číslo ke kontrole :");
  const RECT edit = RectIn(FindControl(floating, IDC_SingleEdit), floating);
  EXPECT_EQ(edit.left, 128);
  EXPECT_EQ(edit.top, 8);
  EXPECT_EQ(edit.right - edit.left, 121);
  EXPECT_EQ(edit.bottom - edit.top, 19);
  EXPECT_TRUE(Eventually([&] { return IsIconic(app.MainWindow()) != FALSE; }));
  // A second press raises the one window and minimises the main window again.
  ShowWindow(app.MainWindow(), SW_RESTORE);
  ASSERT_TRUE(Eventually([&] { return IsIconic(app.MainWindow()) == FALSE; }));
  app.Click(IDC_FloatingClipButton);
  EXPECT_TRUE(Eventually([&] { return IsIconic(app.MainWindow()) != FALSE; }));
  EXPECT_EQ(CountWindowsOfClass(app.ProcessId(), L"TFloatingForm"), 1);
  // Closing it restores the main window.
  PostMessageW(floating, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Eventually([&] { return !IsWindow(floating); }));
  EXPECT_TRUE(Eventually([&] { return IsIconic(app.MainWindow()) == FALSE; }));
}

struct FollowCase {
  const wchar_t* copied;
  const wchar_t* status;
  COLORREF colour;
  bool raises;
};

TEST(FloatingForm, FollowsTheClipboardAndRaisesItselfForCompleteNumbersOnly) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  SetClipboardText(L"");
  HWND floating = OpenFloating(app);
  ASSERT_NE(floating, nullptr);
  HWND edit = FindControl(floating, IDC_SingleEdit);
  HWND status = FindControl(floating, IDC_StatusValue);
  Cover cover(floating);
  const FollowCase cases[] = {
      {L"1234567897", L"platné číslo", kGreen, true},
      {L"12345", L"neúplné číslo", 0x00FFFF, false},
      {L"1234567890", L"neplatné číslo", kRed, true},
      {L"slovo", L"není číslo", 0x00FFFF, false},
  };
  for (const auto& c : cases) {
    cover.ComeOnTop();
    ASSERT_TRUE(IsAbove(cover.Handle(), floating));
    SetClipboardText(c.copied);
    EXPECT_TRUE(Eventually([&] { return WindowText(edit) == c.copied; })) << c.copied;
    EXPECT_TRUE(Eventually([&] { return WindowText(status) == c.status; })) << c.copied;
    if (c.raises) {
      EXPECT_TRUE(Eventually([&] { return IsAbove(floating, cover.Handle()); })) << c.copied;
    } else {
      Sleep(700);  // two more ticks, any of which would have raised it
      EXPECT_FALSE(IsAbove(floating, cover.Handle())) << c.copied;
    }
    cover.Hide();
    EXPECT_GT(WaitForPixels(status, c.colour, 20), 20) << c.copied;
  }
  // A picture empties the field and the status.
  SetClipboardPicture();
  EXPECT_TRUE(Eventually([&] { return WindowText(edit).empty() && WindowText(status).empty(); }));
}

// A copied spreadsheet cell ends in a line end: one is dropped, in any of its three forms, and the
// cell is checked as the number it holds; a second line still makes the text no number.
TEST(FloatingForm, ChecksACopiedCellWithoutItsLineEnd) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  SetClipboardText(L"");
  HWND floating = OpenFloating(app);
  ASSERT_NE(floating, nullptr);
  HWND edit = FindControl(floating, IDC_SingleEdit);
  HWND status = FindControl(floating, IDC_StatusValue);
  Cover cover(floating);
  const FollowCase cases[] = {
      {L"1234567897\r\n", L"platné číslo", kGreen, true},
      {L"1234567890\r\n", L"neplatné číslo", kRed, true},
      {L"1234567897\n", L"platné číslo", kGreen, true},
      {L"12345\r\n", L"neúplné číslo", 0x00FFFF, false},
      {L"1234567897\r", L"platné číslo", kGreen, true},
      {L"1234567897\r\n1234567897\r\n", L"není číslo", 0x00FFFF, false},
  };
  for (const auto& c : cases) {
    // A number left on the clipboard raises the window at every tick: it goes first.
    SetClipboardText(L"");
    ASSERT_TRUE(Eventually([&] { return WindowText(status).empty(); }));
    cover.ComeOnTop();
    ASSERT_TRUE(IsAbove(cover.Handle(), floating));
    SetClipboardText(c.copied);
    const std::string copied = testing::PrintToString(std::wstring(c.copied));
    EXPECT_TRUE(Eventually([&] { return WindowText(status) == c.status; })) << copied;
    if (c.raises) {
      EXPECT_TRUE(Eventually([&] { return IsAbove(floating, cover.Handle()); })) << copied;
      EXPECT_EQ(WindowText(edit), std::wstring(c.copied).substr(0, 10)) << copied;
    } else {
      Sleep(700);  // two more ticks, any of which would have raised it
      EXPECT_FALSE(IsAbove(floating, cover.Handle())) << copied;
    }
  }
}

TEST(FloatingForm, BusyClipboardSkipsTicksSilently) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  SetClipboardText(L"12345");
  HWND floating = OpenFloating(app);
  ASSERT_NE(floating, nullptr);
  HWND edit = FindControl(floating, IDC_SingleEdit);
  ASSERT_TRUE(Eventually([&] { return WindowText(edit) == L"12345"; }));
  {
    ClipboardHold hold;
    Sleep(1000);
  }
  EXPECT_EQ(WaitForDialog(app.ProcessId(), L"Sipo", 300), nullptr);
  SetClipboardText(L"1234567897");
  EXPECT_TRUE(Eventually([&] { return WindowText(edit) == L"1234567897"; }));
}

TEST(FloatingForm, KeepsItsPositionAcrossOpeningsButNotWhenTheProgramEnds) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  HWND floating = OpenFloating(app);
  ASSERT_NE(floating, nullptr);
  SetWindowPos(floating, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PostMessageW(floating, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Eventually([&] { return !IsWindow(floating); }));
  EXPECT_NE(SettingsText(app).find("TFloatingForm=300,200"), std::string::npos);
  floating = OpenFloating(app);
  ASSERT_NE(floating, nullptr);
  EXPECT_EQ(TopLeft(floating).x, 300);
  EXPECT_EQ(TopLeft(floating).y, 200);
  // Closing the main window with the floating window open ends the program and keeps the
  // floating window's stored position.
  SetWindowPos(floating, nullptr, 333, 222, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PostMessageW(app.MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(), 0u);
  EXPECT_NE(SettingsText(app).find("TFloatingForm=300,200"), std::string::npos);
}

TEST(FloatingForm, ClosesAndRestoresTheMainWindowWhenItsPositionCannotBeStored) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  HWND floating = OpenFloating(app);
  ASSERT_NE(floating, nullptr);
  const std::wstring settings = app.Folder() + L"\\Zerbanix.ini";
  ASSERT_TRUE(SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_READONLY));
  PostMessageW(floating, WM_CLOSE, 0, 0);
  HWND box = WaitForDialog(app.ProcessId(), L"Sipo");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageOf(box).rfind(L"Unable to write to ", 0), 0u) << MessageOf(box);
  PressDialogButton(box, IDOK);
  EXPECT_TRUE(Eventually([&] { return !IsWindow(floating); }));
  EXPECT_TRUE(Eventually([&] { return IsIconic(app.MainWindow()) == FALSE; }));
  SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace sipo::uitest
