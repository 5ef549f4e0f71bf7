// UI tests of the clipboard list: import into the grid, export from it, and a busy clipboard.
#include <gtest/gtest.h>

#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <string>

#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

constexpr COLORREF kGreen = 0x008000;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr COLORREF kBlack = 0x000000;
// A filled row is about 250 × 16 pixels; a few letters of text are far fewer.
constexpr int kFilledRow = 3000;

const std::wstring kEmptyPair = L"\"\";\"\"\r\n";

HWND GridList(const SipoApp& app) {
  return uitest::GridList(app.Control(IDC_MultiGrid));
}

// The header row and the data rows.
int RowCount(const SipoApp& app) {
  return static_cast<int>(SendMessageW(GridList(app), LVM_GETITEMCOUNT, 0, 0)) + 1;
}

// Sent, not posted, so the handler has run when this returns.
void Press(const SipoApp& app, int id) {
  DWORD_PTR ignored;
  SendMessageTimeoutW(app.Control(id), BM_CLICK, 0, 0, SMTO_BLOCK, 20000, &ignored);
  Settle(app.MainWindow());
}

void Import(const SipoApp& app, const std::wstring& text) {
  SetClipboardText(text);
  Press(app, IDC_MultiImportButton);
}

std::wstring Export(const SipoApp& app) {
  SetClipboardText(L"before the export");
  Press(app, IDC_MultiExportButton);
  return ClipboardText();
}

// Top screen line of the grid that holds a run of pixels of the colour, or -1.
int FirstLineWith(HWND window, COLORREF colour) {
  RECT rc;
  GetWindowRect(window, &rc);
  HDC screen = GetDC(nullptr);
  int found = -1;
  for (int y = rc.top; y < rc.bottom && found < 0; ++y) {
    int run = 0;
    for (int x = rc.left; x < rc.right; x += 4) {
      run = GetPixel(screen, x, y) == colour ? run + 1 : 0;
      if (run >= 10) {
        found = y;
        break;
      }
    }
  }
  ReleaseDC(nullptr, screen);
  return found;
}

TEST(ClipboardList, StartsWithNineEmptyRowsThatExportAsEmptyPairs) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  EXPECT_EQ(RowCount(app), 10);
  std::wstring nine;
  for (int i = 0; i < 9; ++i) nine += kEmptyPair;
  EXPECT_EQ(Export(app), nine);
}

TEST(ClipboardList, ImportsThreeNumbersInTheirColoursAndExportsThemWithCzechStatus) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  Import(app, L"1234567897\r\n1234567890\r\n12345");
  EXPECT_EQ(RowCount(app), 4);
  HWND grid = app.Control(IDC_MultiGrid);
  EXPECT_GE(WaitForPixels(grid, kGreen, kFilledRow), kFilledRow);
  EXPECT_GE(WaitForPixels(grid, kRed, kFilledRow), kFilledRow);
  EXPECT_GE(WaitForPixels(grid, kYellow, kFilledRow), kFilledRow);
  const int green = FirstLineWith(grid, kGreen);
  const int red = FirstLineWith(grid, kRed);
  const int yellow = FirstLineWith(grid, kYellow);
  EXPECT_LT(green, red);
  EXPECT_LT(red, yellow);
  EXPECT_EQ(Export(app),
            L"\"1234567897\";\"platné číslo\"\r\n"
            L"\"1234567890\";\"neplatné číslo\"\r\n"
            L"\"12345\";\"neúplné číslo\"\r\n");
}

TEST(ClipboardList, KeepsSpacesQuotesAndCzechLettersOfTheCopiedLines) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  Import(app, L" 1234567897 \n\"č\"\r   \r\n");
  EXPECT_EQ(RowCount(app), 4);
  EXPECT_GE(WaitForPixels(app.Control(IDC_MultiGrid), kBlack, kFilledRow), kFilledRow);
  const std::wstring exported = Export(app);
  EXPECT_NE(exported.find(L"\"\"č\"\";\"není číslo\"\r\n"), std::wstring::npos) << exported;
  EXPECT_EQ(exported.rfind(L"\"   \";\"\"\r\n"), exported.size() - 10) << exported;
}

TEST(ClipboardList, ClipboardWithoutTextLeavesOneEmptyUncolouredRow) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  HWND grid = app.Control(IDC_MultiGrid);
  for (const bool picture : {false, true}) {
    Import(app, L"1234567897\r\n1234567890");
    ASSERT_GE(WaitForPixels(grid, kGreen, kFilledRow), kFilledRow);
    if (picture) {
      SetClipboardPicture();
    } else {
      EmptyTheClipboard();
    }
    Press(app, IDC_MultiImportButton);
    EXPECT_EQ(RowCount(app), 2) << "picture " << picture;
    EXPECT_EQ(WaitForPixels(grid, kGreen, 0), 0) << "picture " << picture;
    EXPECT_EQ(WaitForPixels(grid, kRed, 0), 0) << "picture " << picture;
    EXPECT_LT(CountWindowPixels(grid, kBlack), kFilledRow) << "picture " << picture;
    EXPECT_EQ(Export(app), kEmptyPair) << "picture " << picture;
  }
}

TEST(ClipboardList, ALaterShorterImportReplacesTheWholeList) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  std::wstring ten;
  for (int i = 0; i < 10; ++i) ten += L"1234567897\r\n";
  Import(app, ten);
  EXPECT_EQ(RowCount(app), 11);
  Import(app, L"abc\r\n1234567890\r\n");
  EXPECT_EQ(RowCount(app), 3);
  EXPECT_EQ(Export(app), L"\"abc\";\"není číslo\"\r\n\"1234567890\";\"neplatné číslo\"\r\n");
}

// Another program holding the clipboard: the error box, and neither the grid nor the clipboard
// changes.
TEST(ClipboardList, BusyClipboardShowsTheErrorAndChangesNothing) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  Import(app, L"1234567897\r\n1234567890\r\n12345");
  SetClipboardText(L"held text");
  for (const int button : {IDC_MultiImportButton, IDC_MultiExportButton}) {
    HWND box = nullptr;
    {
      ClipboardHold hold;
      app.Click(button);
      box = WaitForDialog(app.ProcessId(), L"Sipo");
      ASSERT_NE(box, nullptr) << button;
      EXPECT_EQ(MessageOf(box), L"Cannot open clipboard.") << button;
    }
    PressDialogButton(box, IDOK);
    Settle(app.MainWindow());
    EXPECT_EQ(RowCount(app), 4) << button;
    EXPECT_EQ(ClipboardText(), L"held text") << button;
  }
  EXPECT_GE(WaitForPixels(app.Control(IDC_MultiGrid), kGreen, kFilledRow), kFilledRow);
}

}  // namespace
}  // namespace sipo::uitest
