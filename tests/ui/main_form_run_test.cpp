// UI tests of the file run started from the main window: confirmation, messages, the names the
// fields show afterwards, and the files written.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

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


// A drive letter of its own for a folder, as subst makes one; removed when it ends. Empty when
// the system gives none.
class SecondDrive {
 public:
  explicit SecondDrive(const std::wstring& folder) {
    const DWORD used = GetLogicalDrives();
    for (wchar_t letter = L'Y'; letter > L'M' && drive_.empty(); --letter) {
      if (used & (1u << (letter - L'A'))) continue;
      const std::wstring drive{letter, L':'};
      if (!DefineDosDeviceW(0, drive.c_str(), folder.c_str())) continue;
      drive_ = drive;
    }
    if (!drive_.empty() && !FileExists(drive_ + L"\\in.txt")) {
      std::printf("skipped: a second drive letter for one folder does not work here\n");
      Remove();
    }
  }
  ~SecondDrive() { Remove(); }
  SecondDrive(const SecondDrive&) = delete;
  SecondDrive& operator=(const SecondDrive&) = delete;
  const std::wstring& Drive() const { return drive_; }

 private:
  void Remove() {
    if (!drive_.empty()) DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive_.c_str(), nullptr);
    drive_.clear();
  }
  std::wstring drive_;
};

// sipocheck.exe's exit status for a run over in.txt in folder. The build gives the program's
// path on the build machine, which Wine shows as drive Z:.
DWORD RunSipocheck(const std::wstring& folder, const std::wstring& ok, const std::wstring& bad) {
  std::string path = SIPOCHECK_EXE_PATH;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  std::wstring command = L"\"" + std::wstring(path.begin(), path.end()) +
                         L"\" file in.txt --single-column --ok \"" + ok + L"\" --bad \"" + bad +
                         L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      folder.c_str(), &startup, &process))
    return 0xFFFFFFFF;
  WaitForSingleObject(process.hProcess, 20000);
  DWORD status = 0xFFFFFFFF;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return status;
}

// Both output fields name one file, spelled two ways, whether it exists or not: the run is
// refused before the question, in an information box, and no file or field changes.
// sipocheck.exe refuses the same pairs (status 2) by the same rule. "@" stands for the folder.
TEST(MainFormRun, TwoOutputFieldsNamingOneFileAreRefused) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  PrepareRun(app);
  WriteBytes(app.Folder() + L"\\same.txt", "old\r\n");
  CreateDirectoryW((app.Folder() + L"\\sub").c_str(), nullptr);
  const SecondDrive second(app.Folder());
  struct Case {
    std::wstring ok, bad;
  };
  std::vector<Case> cases = {
      {L"same.txt", L"\"SAME.TXT\""},     {L"new.txt", L"\\\\?\\@\\new.txt"},
      {L"\\\\.\\@\\NEW.txt", L"new.txt"}, {L"\\\\?\\@\\same.txt", L"same.txt."},
      {L"nový.txt", L"NOVÝ.TXT"},         {L"červený.txt", L"ČERVENÝ.TXT"},
      {L"new.txt", L"new.txt."},          {L"new.txt", L"new.txt "},
      {L"new.txt", L"@/sub/../new.txt"},
  };
  if (!second.Drive().empty()) {
    cases.push_back({L"new.txt", second.Drive() + L"\\new.txt"});
    cases.push_back({second.Drive() + L"\\same.txt", L"same.txt"});
  }
  for (Case& c : cases) {
    for (std::wstring* name : {&c.ok, &c.bad}) {
      if (const std::size_t at = name->find(L'@'); at != std::wstring::npos)
        name->replace(at, 1, app.Folder());
    }
    SCOPED_TRACE(testing::Message() << "ok " << std::string(c.ok.begin(), c.ok.end()));
    app.SetText(IDC_FileOKOutputEdit, c.ok);
    app.SetText(IDC_FileBadOutputEdit, c.bad);
    app.Click(IDC_FileButton);
    HWND refused = WaitForDialog(app.ProcessId(), L"Information");
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(MessageOf(refused),
              L"Výstupní soubory pro správné a pro chybné řádky musí být dva různé soubory.");
    PressDialogButton(refused, IDOK);
    EXPECT_EQ(WaitForDialog(app.ProcessId(), L"Confirm", 300), nullptr);
    EXPECT_EQ(app.Text(IDC_FileBadOutputEdit), c.bad);
    EXPECT_EQ(RunSipocheck(app.Folder(), c.ok, c.bad), 2u);
  }
  EXPECT_EQ(ReadBytes(app.Folder() + L"\\same.txt"), "old\r\n");
  for (const wchar_t* made : {L"new.txt", L"nový.txt", L"červený.txt", L"bad.txt", L"ok.txt"})
    EXPECT_FALSE(FileExists(app.Folder() + L"\\" + made)) << made;
  EXPECT_EQ(app.Text(IDC_FileInputEdit), L"in.txt");
}

}  // namespace
}  // namespace sipo::uitest
