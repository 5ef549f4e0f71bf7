// UI tests of the About window: its texts, Enter and Escape, modality and remembered position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/version.h"
#include "tests/ui/real_input.h"
#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

HWND OpenAbout(const SipoApp& app) {
  app.Click(IDC_AboutButton);
  HWND about = app.WaitForWindow(L"TAboutForm", 10000);
  Settle(about);
  return about;
}

bool GoneSoon(HWND window) {
  for (int attempt = 0; attempt < 100 && IsWindow(window); ++attempt) Sleep(50);
  return !IsWindow(window);
}

// A key as the user's keyboard would deliver it: to the control with the focus.
void PostKey(HWND control, WORD key) {
  PostMessageW(control, WM_KEYDOWN, key, 1);
  PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

// Tab as the user's keyboard gives it, through the system's queue: the window's navigation reads
// the Shift key's state, which a posted message cannot carry. The About window is brought forward
// first, as keys go to the active window.
void SendTab(HWND about, bool shift) {
  const DWORD theirs = GetWindowThreadProcessId(about, nullptr);
  AttachThreadInput(GetCurrentThreadId(), theirs, TRUE);
  SetForegroundWindow(about);
  AttachThreadInput(GetCurrentThreadId(), theirs, FALSE);
  SendKey(VK_TAB, shift ? VK_SHIFT : 0);
}

HWND WaitForFocusOn(HWND about, HWND expected) {
  HWND focus = nullptr;
  for (int attempt = 0; attempt < 100; ++attempt) {
    focus = FocusOf(about);
    if (focus == expected) break;
    Sleep(50);
  }
  return focus;
}

POINT TopLeft(HWND window) {
  RECT rc;
  GetWindowRect(window, &rc);
  return {rc.left, rc.top};
}

TEST(AboutForm, ShowsVersionAndTextsModallyAndEnterClosesItButEscapeDoesNot) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  HWND about = OpenAbout(app);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(WindowText(about), L"O programu");
  RECT client;
  GetClientRect(about, &client);
  EXPECT_EQ(client.right, 516);
  EXPECT_EQ(client.bottom, 586);
  EXPECT_EQ(WindowText(FindControl(about, IDC_VersionValue)),
            L"číslo verze programu (build) : " SIPO_VERSION_TEXT);
  HWND memo = FindControl(about, IDC_LicenceMemo);
  EXPECT_TRUE(GetWindowLongW(memo, GWL_STYLE) & ES_READONLY);
  EXPECT_NE(WindowText(memo).find(L"Tamrix SIPO"), std::wstring::npos);
  EXPECT_NE(WindowText(FindControl(about, IDC_InfoLabel)).find(L"dopisem  :-) )"),
            std::wstring::npos);
  EXPECT_FALSE(IsWindowEnabled(app.MainWindow()));

  HWND close = FindControl(about, IDC_CloseButton);
  PostKey(close, VK_ESCAPE);
  Settle(about);
  Sleep(300);
  EXPECT_TRUE(IsWindow(about));
  PostKey(close, VK_RETURN);
  EXPECT_TRUE(GoneSoon(about));
  Settle(app.MainWindow());
  EXPECT_TRUE(IsWindowEnabled(app.MainWindow()));
}

TEST(AboutForm, ControlsStandAtTheirPlacesAndTheLicenceCanBeSelected) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  HWND about = OpenAbout(app);
  ASSERT_NE(about, nullptr);
  struct Place {
    int id;
    int left, top, width, height;
  };
  const Place places[] = {{IDC_TopLabel, 8, 8, 497, 23},
                          {IDC_VersionValue, 0, 40, 513, 13},
                          {IDC_LicenceMemo, 8, 152, 497, 281},
                          {IDC_CloseButton, 373, 556, 137, 25}};
  for (const auto& p : places) {
    const RECT rc = RectIn(FindControl(about, p.id), about);
    EXPECT_EQ(rc.left, p.left) << p.id;
    EXPECT_EQ(rc.top, p.top) << p.id;
    EXPECT_EQ(rc.right - rc.left, p.width) << p.id;
    EXPECT_EQ(rc.bottom - rc.top, p.height) << p.id;
  }
  EXPECT_EQ(FocusOf(about), FindControl(about, IDC_CloseButton));
  // Read-only, yet its text can be selected (and so copied).
  HWND memo = FindControl(about, IDC_LicenceMemo);
  SendMessageW(memo, EM_SETSEL, 0, 8);
  const DWORD selection = static_cast<DWORD>(SendMessageW(memo, EM_GETSEL, 0, 0));
  EXPECT_EQ(LOWORD(selection), 0);
  EXPECT_EQ(HIWORD(selection), 8);
  PostMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_TRUE(GoneSoon(about));
}

// The licence is a multi-line text, which would keep Tab for itself: the focus must come out of it
// both ways, and Enter on the close button still closes the window.
TEST(AboutForm, TabAndShiftTabGoRoundTheCloseButtonAndTheLicence) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  HWND about = OpenAbout(app);
  ASSERT_NE(about, nullptr);
  HWND close = FindControl(about, IDC_CloseButton);
  HWND memo = FindControl(about, IDC_LicenceMemo);
  ASSERT_EQ(WaitForFocusOn(about, close), close);
  for (bool shift : {false, true}) {
    for (HWND expected : {memo, close, memo, close}) {
      SendTab(about, shift);
      EXPECT_EQ(WaitForFocusOn(about, expected), expected) << (shift ? "Shift+Tab" : "Tab");
    }
  }
  PostKey(close, VK_RETURN);
  EXPECT_TRUE(GoneSoon(about));
}

TEST(AboutForm, OpensWhereItWasClosedLastTime) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  HWND about = OpenAbout(app);
  ASSERT_NE(about, nullptr);
  SetWindowPos(about, nullptr, 310, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PostMessageW(about, WM_CLOSE, 0, 0);
  ASSERT_TRUE(GoneSoon(about));
  about = OpenAbout(app);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(TopLeft(about).x, 310);
  EXPECT_EQ(TopLeft(about).y, 120);
  PostMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_TRUE(GoneSoon(about));
}

TEST(AboutForm, ClosesWhenItsPositionCannotBeStored) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  HWND about = OpenAbout(app);
  ASSERT_NE(about, nullptr);
  const std::wstring settings = app.Folder() + L"\\Zerbanix.ini";
  ASSERT_TRUE(SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_READONLY));
  PostMessageW(about, WM_CLOSE, 0, 0);
  HWND box = WaitForDialog(app.ProcessId(), L"Sipo");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageOf(box).rfind(L"Unable to write to ", 0), 0u) << MessageOf(box);
  PressDialogButton(box, IDOK);
  EXPECT_TRUE(GoneSoon(about));
  Settle(app.MainWindow());
  EXPECT_TRUE(IsWindowEnabled(app.MainWindow()));
  SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace sipo::uitest
