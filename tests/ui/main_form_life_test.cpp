// UI tests of the main window's start and end: the settings and the position it keeps, a settings
// file it cannot write, and a folder where it cannot keep one.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

POINT TopLeft(HWND window) {
  RECT rc;
  GetWindowRect(window, &rc);
  return {rc.left, rc.top};
}

bool Checked(const SipoApp& app, int id) {
  return SendMessageW(app.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Removes the folder when the test ends, whatever happened.
struct ScopedFolder {
  std::wstring path = NewFolder();
  ~ScopedFolder() { RemoveFolder(path); }
};

TEST(MainFormLife, SettingsAndPositionSurviveARestart) {
  ScopedFolder folder;
  {
    SipoApp first(folder.path);
    ASSERT_NE(first.MainWindow(), nullptr);
    first.SetText(IDC_SingleEdit, L"1234567897");
    first.SetText(IDC_FileInputEdit, L"C:\\data\\vstupní soubor.txt");
    first.SetText(IDC_FileOKOutputEdit, L"ok.txt");
    first.SetText(IDC_FileBadOutputEdit, L"bad.txt");
    first.SetText(IDC_ColumnEdit, L"3");
    first.SetText(IDC_DelimiterEdit, L",");
    SendMessageW(first.Control(IDC_SYLKCheck), BM_SETCHECK, BST_CHECKED, 0);
    SetWindowPos(first.MainWindow(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Settle(first.MainWindow());
    first.Click(IDC_CloseButton);
    ASSERT_EQ(first.WaitForExit(), 0u);
  }
  SipoApp second(folder.path);
  ASSERT_NE(second.MainWindow(), nullptr);
  EXPECT_EQ(second.Text(IDC_SingleEdit), L"1234567897");
  EXPECT_EQ(second.Text(IDC_StatusValue), L"platné číslo");
  EXPECT_EQ(second.Text(IDC_FileInputEdit), L"C:\\data\\vstupní soubor.txt");
  EXPECT_EQ(second.Text(IDC_FileOKOutputEdit), L"ok.txt");
  EXPECT_EQ(second.Text(IDC_FileBadOutputEdit), L"bad.txt");
  EXPECT_EQ(second.Text(IDC_ColumnEdit), L"3");
  EXPECT_EQ(second.Text(IDC_DelimiterEdit), L",");
  EXPECT_TRUE(Checked(second, IDC_SYLKCheck));
  EXPECT_FALSE(Checked(second, IDC_SingleColumnCheck));
  const POINT at = TopLeft(second.MainWindow());
  EXPECT_EQ(at.x, 300);
  EXPECT_EQ(at.y, 200);
  // The number field has had the focus since the start: Escape puts back the remembered number.
  second.SetText(IDC_SingleEdit, L"12");
  second.PressKey(IDC_SingleEdit, VK_ESCAPE);
  EXPECT_EQ(second.Text(IDC_SingleEdit), L"1234567897");
}

TEST(MainFormLife, AReadOnlySettingsFileIsReportedAtCloseAndTheProgramStillEnds) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const std::wstring settings = app.Folder() + L"\\Zerbanix.ini";
  const std::string before = ReadBytes(settings);
  ASSERT_TRUE(SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_READONLY));
  app.SetText(IDC_SingleEdit, L"1234567897");
  app.Click(IDC_CloseButton);
  HWND error = WaitForDialog(app.ProcessId(), L"Sipo");
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(MessageOf(error).rfind(L"Unable to write to ", 0), 0u) << MessageOf(error);
  PressDialogButton(error, IDOK);
  EXPECT_EQ(app.WaitForExit(), 0u);
  EXPECT_EQ(ReadBytes(settings), before);
}

TEST(MainFormLife, AFailedSettingsWriteBeforeARunIsReportedAndTheRunGoesOn) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const std::wstring settings = app.Folder() + L"\\Zerbanix.ini";
  ASSERT_TRUE(SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_READONLY));
  app.Click(IDC_FileButton);
  HWND error = WaitForDialog(app.ProcessId(), L"Sipo");
  ASSERT_NE(error, nullptr);
  PressDialogButton(error, IDOK);
  HWND confirm = WaitForDialog(app.ProcessId(), L"Confirm");
  ASSERT_NE(confirm, nullptr);
  PressDialogButton(confirm, IDNO);
  SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A folder entry of the settings file's name that is no file: nothing can be kept there.
TEST(MainFormLife, WithoutSettingsTheWindowOpensAtItsDesignedPlaceAndWritesNothing) {
  ScopedFolder folder;
  ASSERT_TRUE(CreateDirectoryW((folder.path + L"\\Zerbanix.ini").c_str(), nullptr));
  SipoApp app(folder.path);
  ASSERT_NE(app.MainWindow(), nullptr);
  const POINT at = TopLeft(app.MainWindow());
  EXPECT_EQ(at.x, 240);
  EXPECT_EQ(at.y, 152);
  for (int id : {IDC_SingleEdit, IDC_FileInputEdit, IDC_FileOKOutputEdit, IDC_FileBadOutputEdit,
                 IDC_ColumnEdit, IDC_DelimiterEdit, IDC_StatusValue}) {
    EXPECT_EQ(app.Text(id), L"") << "control " << id;
  }
  EXPECT_FALSE(Checked(app, IDC_SingleColumnCheck));
  EXPECT_FALSE(Checked(app, IDC_SYLKCheck));
  app.SetText(IDC_SingleEdit, L"1234567897");
  app.Click(IDC_CloseButton);
  EXPECT_EQ(app.WaitForExit(), 0u);
  int entries = 0;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder.path + L"\\*").c_str(), &found);
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") ++entries;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  EXPECT_EQ(entries, 2) << "only the program and the folder entry";
}

TEST(MainFormLife, APositionOffEveryScreenIsPulledBackOntoTheNearestOne) {
  ScopedFolder folder;
  WriteBytes(folder.path + L"\\Zerbanix.ini", "[GENERAL]\r\n[DIALOGS]\r\nTMainForm=5000,-3000\r\n");
  SipoApp app(folder.path);
  ASSERT_NE(app.MainWindow(), nullptr);
  RECT rc;
  GetWindowRect(app.MainWindow(), &rc);
  RECT screen;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
  EXPECT_GE(rc.left, screen.left);
  EXPECT_GE(rc.top, screen.top);
  EXPECT_LE(rc.right, screen.right);
  EXPECT_LE(rc.bottom, screen.bottom);
}

}  // namespace
}  // namespace sipo::uitest
