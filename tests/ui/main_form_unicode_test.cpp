// UI test of a file run from the main window on a spreadsheet's "Unicode text" export: UTF-16 LE
// with its mark and tab-delimited fields, sorted by units, with the counts in the closing box.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

// The text's UTF-16 units as little-endian bytes, after the mark.
std::string Utf16LE(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (const wchar_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>((unit >> 8) & 0xFF);
  }
  return bytes;
}

TEST(MainFormUnicodeRun, AUtf16ExportIsSortedByUnitsAndCounted) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  std::wstring good, bad;
  for (int i = 0; i < 1000; ++i) good += L"Novák " + std::to_wstring(i) + L"\t1234567897\r\n";
  bad = L"Čermák\t1234567890\r\n";
  WriteBytes(app.Folder() + L"\\in.txt", Utf16LE(good + bad));
  app.SetText(IDC_FileInputEdit, L"in.txt");
  app.SetText(IDC_FileOKOutputEdit, L"ok.txt");
  app.SetText(IDC_FileBadOutputEdit, L"bad.txt");
  app.SetText(IDC_ColumnEdit, L"1");
  app.SetText(IDC_DelimiterEdit, L"\t");
  SendMessageW(app.Control(IDC_SingleColumnCheck), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageW(app.Control(IDC_SYLKCheck), BM_SETCHECK, BST_UNCHECKED, 0);
  app.Click(IDC_FileButton);
  HWND confirm = WaitForDialog(app.ProcessId(), L"Confirm");
  ASSERT_NE(confirm, nullptr);
  PressDialogButton(confirm, IDYES);

  HWND done = WaitForDialog(app.ProcessId(), L"Information");
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageOf(done), L"Hotovo.\r\nNačteno řádků: 1 001\r\nSprávných: 1 000\r\nChybných: 1");
  PressDialogButton(done, IDOK);
  EXPECT_EQ(ReadBytes(app.Folder() + L"\\ok.txt"), Utf16LE(good));
  EXPECT_EQ(ReadBytes(app.Folder() + L"\\bad.txt"), Utf16LE(bad));
}

}  // namespace
}  // namespace sipo::uitest
