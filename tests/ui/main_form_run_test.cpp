// UI tests of the file run started from the main window: confirmation, messages, the names the
// fields show afterwards, and the files written.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

const wchar_t* const kConfirm =
    L"Oba soubory, označené jako výstup, budou přepsány. Souhlasíte s tím a chcete pokračovat ?";

// Fills the file panel for a single-column run over in.txt of the program's folder.
void PrepareRun(const SipoApp& app) {
  WriteBytes(app.Folder() + L"\\in.txt", "1234567897\r\nabc\n1234567890\r\n\r\n0000000000");
  app.SetText(IDC_FileInputEdit, L"in.txt");
  app.SetText(IDC_FileOKOutputEdit, L"\"ok.txt\"");
  app.SetText(IDC_FileBadOutputEdit, L"bad.txt");
  SendMessageW(app.Control(IDC_SingleColumnCheck), BM_SETCHECK, BST_CHECKED, 0);
}

TEST(MainFormRun, YesSortsTheLinesAndShowsTheResolvedNames) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  PrepareRun(app);
  app.Click(IDC_FileButton);
  HWND confirm = WaitForDialog(app.ProcessId(), L"Confirm");
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(MessageOf(confirm), kConfirm);
  EXPECT_EQ(WindowText(GetDlgItem(confirm, IDYES)), L"&Yes");
  EXPECT_EQ(WindowText(GetDlgItem(confirm, IDNO)), L"&No");
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(confirm, IDYES), GWL_STYLE) & BS_DEFPUSHBUTTON);
  PressDialogButton(confirm, IDYES);

  HWND done = WaitForDialog(app.ProcessId(), L"Information");
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageOf(done), L"Hotovo.\r\nNačteno řádků: 5\r\nSprávných: 2\r\nChybných: 3");
  EXPECT_EQ(WindowText(GetDlgItem(done, IDOK)), L"OK");
  EXPECT_FALSE(IsWindowVisible(app.Control(IDC_FileAnimator)));
  const std::wstring dir = app.Folder() + L"\\";
  EXPECT_EQ(app.Text(IDC_FileInputEdit), dir + L"in.txt");
  EXPECT_EQ(app.Text(IDC_FileOKOutputEdit), dir + L"ok.txt");
  EXPECT_EQ(app.Text(IDC_FileBadOutputEdit), dir + L"bad.txt");
  PressDialogButton(done, IDOK);

  // Only the check digit decides: ten zeros pass it.
  EXPECT_EQ(ReadBytes(dir + L"ok.txt"), "1234567897\r\n0000000000\r\n");
  EXPECT_EQ(ReadBytes(dir + L"bad.txt"), "abc\r\n1234567890\r\n\r\n");
  // The settings keep the names as they were typed before the run.
  const std::string settings = ReadBytes(dir + L"Zerbanix.ini");
  EXPECT_NE(settings.find("Input=in.txt\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("SingleColumn=On\r\n"), std::string::npos) << settings;
}

TEST(MainFormRun, NoWritesNothingButTheSettings) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  PrepareRun(app);
  app.Click(IDC_FileButton);
  HWND confirm = WaitForDialog(app.ProcessId(), L"Confirm");
  ASSERT_NE(confirm, nullptr);
  PressDialogButton(confirm, IDNO);
  EXPECT_EQ(WaitForDialog(app.ProcessId(), L"Information", 1500), nullptr);
  EXPECT_FALSE(FileExists(app.Folder() + L"\\ok.txt"));
  EXPECT_FALSE(FileExists(app.Folder() + L"\\bad.txt"));
  EXPECT_EQ(app.Text(IDC_FileInputEdit), L"in.txt");
  const std::string settings = ReadBytes(app.Folder() + L"\\Zerbanix.ini");
  EXPECT_NE(settings.find("OKOutput=\"ok.txt\"\r\n"), std::string::npos) << settings;
}

// An input that cannot be read, missing or held by another program that shares it with no one,
// ends in one box that says so, and both outputs keep their bytes.
TEST(MainFormRun, AnInputThatCannotBeReadLeavesBothOutputsAsTheyWere) {
  for (const bool held : {false, true}) {
    SCOPED_TRACE(held ? "held without sharing" : "missing");
    SipoApp app;
    ASSERT_NE(app.MainWindow(), nullptr);
    PrepareRun(app);
    WriteBytes(app.Folder() + L"\\ok.txt", "old ok\r\n");
    WriteBytes(app.Folder() + L"\\bad.txt", "old bad\r\n");
    HANDLE holder = INVALID_HANDLE_VALUE;
    if (held) {
      holder = CreateFileW((app.Folder() + L"\\in.txt").c_str(), GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    } else {
      app.SetText(IDC_FileInputEdit, L"missing.txt");
    }
    app.Click(IDC_FileButton);
    HWND confirm = WaitForDialog(app.ProcessId(), L"Confirm");
    ASSERT_NE(confirm, nullptr);
    PressDialogButton(confirm, IDYES);
    HWND failed = WaitForDialog(app.ProcessId(), L"Information");
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(MessageOf(failed),
              L"Vstupní soubor nelze otevřít. Výstupní soubory zůstaly beze změny.");
    PressDialogButton(failed, IDOK);
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    EXPECT_EQ(ReadBytes(app.Folder() + L"\\ok.txt"), "old ok\r\n");
    EXPECT_EQ(ReadBytes(app.Folder() + L"\\bad.txt"), "old bad\r\n");
  }
}

// A workbook chosen in place of its text export (a zip container, an old binary workbook) is
// named as such, and both outputs stay as they were.
TEST(MainFormRun, AWorkbookIsRefusedWithBothOutputsAsTheyWere) {
  using namespace std::string_literals;
  for (const std::string& start :
       {"PK\x03\x04\x14\0\x06\0"s, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0"s}) {
    SipoApp app;
    ASSERT_NE(app.MainWindow(), nullptr);
    PrepareRun(app);
    WriteBytes(app.Folder() + L"\\in.txt", start + "1234567897\r\n");
    WriteBytes(app.Folder() + L"\\ok.txt", "old ok\r\n");
    WriteBytes(app.Folder() + L"\\bad.txt", "old bad\r\n");
    app.Click(IDC_FileButton);
    HWND confirm = WaitForDialog(app.ProcessId(), L"Confirm");
    ASSERT_NE(confirm, nullptr);
    PressDialogButton(confirm, IDYES);
    HWND refused = WaitForDialog(app.ProcessId(), L"Information");
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(MessageOf(refused),
              L"Vstupní soubor je sešit tabulkového procesoru, ne text. Uložte jej jako CSV a "
              L"zkontrolujte ten. Výstupní soubory zůstaly beze změny.");
    PressDialogButton(refused, IDOK);
    EXPECT_EQ(ReadBytes(app.Folder() + L"\\ok.txt"), "old ok\r\n");
    EXPECT_EQ(ReadBytes(app.Folder() + L"\\bad.txt"), "old bad\r\n");
  }
}

// Both output fields name one file, spelled two ways: the run is refused before the question, in
// an information box, and no file or field changes.
TEST(MainFormRun, TwoOutputFieldsNamingOneFileAreRefused) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  PrepareRun(app);
  WriteBytes(app.Folder() + L"\\same.txt", "old\r\n");
  app.SetText(IDC_FileOKOutputEdit, L"same.txt");
  app.SetText(IDC_FileBadOutputEdit, L"\"SAME.TXT\"");
  app.Click(IDC_FileButton);
  HWND refused = WaitForDialog(app.ProcessId(), L"Information");
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(MessageOf(refused),
            L"Výstupní soubory pro správné a pro chybné řádky musí být dva různé soubory.");
  PressDialogButton(refused, IDOK);
  EXPECT_EQ(WaitForDialog(app.ProcessId(), L"Confirm", 1500), nullptr);
  EXPECT_EQ(ReadBytes(app.Folder() + L"\\same.txt"), "old\r\n");
  EXPECT_EQ(app.Text(IDC_FileInputEdit), L"in.txt");
  EXPECT_EQ(app.Text(IDC_FileBadOutputEdit), L"\"SAME.TXT\"");
}

}  // namespace
}  // namespace sipo::uitest
