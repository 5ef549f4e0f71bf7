// UI tests that each window gives every text of the shared table its one verdict: the number
// field, the floating window following the clipboard, and the clipboard list's grid.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/verdict_table.h"
#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

std::wstring StatusOf(StatusClass verdict) {
  switch (verdict) {
    case StatusClass::Empty:
      return L"";
    case StatusClass::NotANumber:
      return L"není číslo";
    case StatusClass::Incomplete:
      return L"neúplné číslo";
    case StatusClass::Valid:
      return L"platné číslo";
    case StatusClass::Invalid:
      return L"neplatné číslo";
  }
  return L"?";
}

std::wstring Wide(std::string_view ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

// The separator the program reads from the same user locale.
char UserDecimalSeparator() {
  wchar_t buffer[8] = {};
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8);
  return static_cast<char>(buffer[0]);
}

template <class Condition>
bool Eventually(Condition condition, DWORD timeoutMs = 3000) {
  const DWORD start = GetTickCount();
  do {
    if (condition()) return true;
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  return condition();
}

TEST(OneVerdict, TheNumberFieldShowsEachTextsStatus) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const char separator = UserDecimalSeparator();
  for (const test::VerdictCase& c : test::kVerdictCases) {
    if (!test::VerdictAppliesTo(c, separator)) continue;
    app.SetText(IDC_SingleEdit, Wide(c.text));
    EXPECT_EQ(app.Text(IDC_StatusValue), StatusOf(c.verdict)) << "'" << c.text << "'";
  }
}

TEST(OneVerdict, TheFloatingWindowShowsEachCopiedTextsStatus) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  SetClipboardText(L"");
  app.Click(IDC_FloatingClipButton);
  HWND floating = app.WaitForWindow(L"TFloatingForm", 10000);
  ASSERT_NE(floating, nullptr);
  HWND edit = FindControl(floating, IDC_SingleEdit);
  HWND status = FindControl(floating, IDC_StatusValue);
  const char separator = UserDecimalSeparator();
  for (const test::VerdictCase& c : test::kVerdictCases) {
    if (!test::VerdictAppliesTo(c, separator)) continue;
    SetClipboardText(Wide(c.text));
    EXPECT_TRUE(Eventually([&] { return WindowText(edit) == Wide(c.text); })) << c.text;
    EXPECT_TRUE(Eventually([&] { return WindowText(status) == StatusOf(c.verdict); }))
        << "'" << c.text << "': " << testing::PrintToString(WindowText(status));
  }
}

TEST(OneVerdict, TheClipboardListShowsEachLinesStatus) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const char separator = UserDecimalSeparator();
  std::wstring copied, expected;
  for (const test::VerdictCase& c : test::kVerdictCases) {
    if (!test::VerdictAppliesTo(c, separator)) continue;
    copied += Wide(c.text) + L"\r\n";
    expected += L"\"" + Wide(c.text) + L"\";\"" + StatusOf(c.verdict) + L"\"\r\n";
  }
  DWORD_PTR ignored;
  SetClipboardText(copied);
  SendMessageTimeoutW(app.Control(IDC_MultiImportButton), BM_CLICK, 0, 0, SMTO_BLOCK, 20000,
                      &ignored);
  SetClipboardText(L"before the export");
  SendMessageTimeoutW(app.Control(IDC_MultiExportButton), BM_CLICK, 0, 0, SMTO_BLOCK, 20000,
                      &ignored);
  Settle(app.MainWindow());
  EXPECT_EQ(ClipboardText(), expected);
}

}  // namespace
}  // namespace sipo::uitest
