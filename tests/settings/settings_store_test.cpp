// Tests of the settings file: creation, the reading and writing rules, and failures.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "settings/program_dir.h"
#include "tests/support/temp_folder.h"

namespace sipo {
namespace {

using namespace std::string_literals;

// A store whose settings file lies in a fresh folder, created as at a first start.
struct StoreFixture {
  test::TempFolder folder;
  SettingsStore store;
  bool unavailable = !store.EnsureSettingsFile(folder.Dir());
  std::string File() const { return folder.Read("Zerbanix.ini"); }
  // The file as the next start finds it: the store reads it afresh.
  void SetFile(const std::string& text) {
    folder.Write("Zerbanix.ini", text);
    store.EnsureSettingsFile(folder.Dir());
  }
};

TEST(ProgramDir, DirectoryOfTheExecutableWithATrailingBackslash) {
  EXPECT_EQ(ProgramDir("C:\\Program Files\\Tamrix\\Sipo.exe"), "C:\\Program Files\\Tamrix\\");
  EXPECT_EQ(ProgramDir("C:Sipo.exe"), "C:\\");
  EXPECT_EQ(ProgramDir("\\\\server\\share\\Sipo.exe"), "\\\\server\\share\\");
  EXPECT_EQ(ProgramDir("Sipo.exe"), "\\");
}

TEST(EnsureSettingsFile, CreatesTheGeneralLineOnlyWhenNoFileIsThere) {
  StoreFixture s;
  EXPECT_FALSE(s.unavailable);
  EXPECT_EQ(s.File(), "[GENERAL]\r\n");
  EXPECT_EQ(s.store.SettingsFilePath(), s.folder.Dir() + "Zerbanix.ini");
  s.SetFile("[SINGLE]\r\nNumber=1\r\n");
  EXPECT_TRUE(s.store.EnsureSettingsFile(s.folder.Dir()));
  EXPECT_EQ(s.File(), "[SINGLE]\r\nNumber=1\r\n");  // an existing file is used unchanged
}

TEST(EnsureSettingsFile, UnavailableWhenTheFileCannotBeCreated) {
  test::TempFolder folder;
  std::filesystem::create_directory(folder.Path() / "Zerbanix.ini");  // a folder is no file
  SettingsStore store;
  EXPECT_FALSE(store.EnsureSettingsFile(folder.Dir()));
  EXPECT_FALSE(store.EnsureSettingsFile(folder.Dir() + "missing-folder/"));
}

TEST(EnsureSettingsFile, APathTooLongForTheStoreMeansNoSettings) {
  test::TempFolder folder;
  const std::string deep = folder.Dir() + std::string(250, 'd') + "/";
  std::filesystem::create_directories(deep);
  SettingsStore store;
  EXPECT_FALSE(store.EnsureSettingsFile(deep));
  EXPECT_FALSE(std::filesystem::exists(deep + "Zerbanix.ini"));
}

TEST(ReadSetting, TextRules) {
  StoreFixture s;
  s.SetFile(
      "[GENERAL]\r\n"
      "  [single]\r\n"
      "\r\n"
      "  number  =  12 34 \t\r\n"
      "Quoted=\"a b\"\n"
      "Apostrophes=' x '\r"
      "Mixed=\"a'\r\n"
      "Empty=\r\n"
      "Equals=a=b\r\n"
      "[FILE]\r\n"
      "Input=C:\\data\\in.txt\r\n");
  const std::pair<std::pair<std::string, std::string>, std::string> cases[] = {
      {{"SINGLE", "Number"}, "12 34"}, {{"single", "NUMBER"}, "12 34"},
      {{"SINGLE", "Quoted"}, "a b"},   {{"SINGLE", "Apostrophes"}, " x "},
      {{"SINGLE", "Mixed"}, "\"a'"},   {{"SINGLE", "Empty"}, ""},
      {{"SINGLE", "Equals"}, "a=b"},   {{"FILE", "Input"}, "C:\\data\\in.txt"},
      {{"FILE", "Number"}, ""},        {{"NOSECTION", "Number"}, ""},
  };
  for (const auto& [where, expected] : cases) {
    EXPECT_EQ(s.store.ReadSettingText(where.first, where.second), expected) << where.second;
  }
  // An empty value is not a missing key.
  EXPECT_EQ(s.store.ReadSettingTextOr("SINGLE", "Empty", "0,0"), "");
  EXPECT_EQ(s.store.ReadSettingTextOr("SINGLE", "Missing", "0,0"), "0,0");
}

TEST(ReadSetting, LengthLimits) {
  StoreFixture s;
  s.SetFile("[S]\r\nLong=" + std::string(3000, 'x') + "\r\n");
  EXPECT_EQ(s.store.ReadSettingText("S", "Long"), std::string(255, 'x'));
  s.store.WriteSettingText("S", "Name", std::string(255, 'y'));
  EXPECT_EQ(s.store.ReadSettingText("S", "Name"), std::string(255, 'y'));
}

TEST(ReadSetting, IntegersAndOnOff) {
  StoreFixture s;
  s.SetFile(
      "[FILE]\r\nHex=0x10\r\nDollar=$10\r\nNeg=-3\r\nJunk=12abc\r\nEmpty=\r\nSuffix=1Fh\r\n"
      "A=on\r\nB=ON\r\nC=On\r\nD=1\r\nE=true\r\nF= on \r\n");
  EXPECT_EQ(s.store.ReadSettingInteger("FILE", "Hex"), 16);
  EXPECT_EQ(s.store.ReadSettingInteger("FILE", "Dollar"), 16);
  EXPECT_EQ(s.store.ReadSettingInteger("FILE", "Neg"), -3);
  EXPECT_EQ(s.store.ReadSettingInteger("FILE", "Junk"), 0);
  EXPECT_EQ(s.store.ReadSettingInteger("FILE", "Empty"), 0);
  EXPECT_EQ(s.store.ReadSettingInteger("FILE", "Suffix"), 0);
  EXPECT_EQ(s.store.ReadSettingInteger("FILE", "Missing"), 0);
  for (const char* key : {"A", "B", "C", "F"})
    EXPECT_TRUE(s.store.ReadSettingOnOff("FILE", key)) << key;
  for (const char* key : {"D", "E", "Missing"})
    EXPECT_FALSE(s.store.ReadSettingOnOff("FILE", key)) << key;
}

// Only a line of "[", a name and "]" opens a section, and the name runs to the last "]", as the
// Windows profile functions read a file edited by hand.
TEST(ReadSetting, SectionHeadersEditedByHand) {
  StoreFixture s;
  const std::string file =
      "[FILE]\r\nInput=a\r\n[b\r\nColumn=1\r\n"
      "[SINGLE]]\r\nNumber=2\r\n"
      "[DIALOGS] [x]\r\nTMainForm=3\r\n"
      "  [ GENERAL ] ; note\r\nK=4\r\n";
  s.SetFile(file);
  EXPECT_EQ(s.store.ReadSettingInteger("FILE", "Column"), 1);  // "[b" opened nothing
  EXPECT_EQ(s.store.ReadSettingText("B", "Column"), "");
  EXPECT_EQ(s.store.ReadSettingText("SINGLE", "Number"), "");
  EXPECT_EQ(s.store.ReadSettingText("SINGLE]", "Number"), "2");
  EXPECT_EQ(s.store.ReadSettingTextOr("DIALOGS", "TMainForm", "0,0"), "0,0");
  EXPECT_EQ(s.store.ReadSettingText("DIALOGS] [x", "TMainForm"), "3");
  EXPECT_EQ(s.store.ReadSettingText("GENERAL", "K"), "4");
  s.store.WriteSettingText("FILE", "Delimiter", ",");
  s.store.WriteSettingText("SINGLE", "Number", "5");
  EXPECT_EQ(s.File(),
            "[FILE]\r\nInput=a\r\n[b\r\nColumn=1\r\nDelimiter=,\r\n"
            "[SINGLE]]\r\nNumber=2\r\n"
            "[DIALOGS] [x]\r\nTMainForm=3\r\n"
            "  [ GENERAL ] ; note\r\nK=4\r\n"
            "[SINGLE]\r\nNumber=5\r\n");
}

// The file is read at the first read only; a write merges its value into the file as it is on
// disk then, and what it wrote is what the reads give from then on. A failed write changes
// neither.
TEST(ReadSetting, TheFileIsReadOnceAndWhatIsWrittenIsReadBack) {
  StoreFixture s;
  s.SetFile("[SINGLE]\r\nNumber=1\r\n");
  EXPECT_EQ(s.store.ReadSettingText("SINGLE", "Number"), "1");
  s.folder.Write("Zerbanix.ini", "[SINGLE]\r\nNumber=2\r\n[DIALOGS]\r\nTMainForm=5,6\r\n");
  EXPECT_EQ(s.store.ReadSettingText("SINGLE", "Number"), "1");
  EXPECT_EQ(s.store.ReadSettingTextOr("DIALOGS", "TMainForm", "0,0"), "0,0");

  s.store.WriteSettingInteger("FILE", "Column", 3);
  EXPECT_EQ(s.File(),
            "[SINGLE]\r\nNumber=2\r\n[DIALOGS]\r\nTMainForm=5,6\r\n[FILE]\r\nColumn=3\r\n");
  EXPECT_EQ(s.store.ReadSettingText("SINGLE", "Number"), "2");
  EXPECT_EQ(s.store.ReadSettingTextOr("DIALOGS", "TMainForm", "0,0"), "5,6");
  EXPECT_EQ(s.store.ReadSettingInteger("FILE", "Column"), 3);

  const std::filesystem::path file = s.folder.Path() / "Zerbanix.ini";
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  EXPECT_THROW(s.store.WriteSettingInteger("FILE", "Column", 4), std::runtime_error);
  std::filesystem::permissions(file, std::filesystem::perms::owner_all);
  EXPECT_EQ(s.store.ReadSettingInteger("FILE", "Column"), 3);
}

TEST(WriteSetting, InPlaceAppendedKeyAndAppendedSection) {
  StoreFixture s;
  s.SetFile("[GENERAL]\r\n[FILE]\r\nInput=a\r\nColumn=1\r\n\r\n[OTHER]\r\nx=1\r\n");
  s.store.WriteSettingText("file", "input", "b");
  EXPECT_EQ(s.File(), "[GENERAL]\r\n[FILE]\r\nInput=b\r\nColumn=1\r\n\r\n[OTHER]\r\nx=1\r\n");
  s.store.WriteSettingText("FILE", "Delimiter", "");
  EXPECT_EQ(s.File(),
            "[GENERAL]\r\n[FILE]\r\nInput=b\r\nColumn=1\r\nDelimiter=\r\n\r\n[OTHER]\r\nx=1\r\n");
  s.store.WriteSettingOnOff("SINGLE", "Flag", true);
  s.store.WriteSettingInteger("SINGLE", "Count", -2147483647 - 1);
  EXPECT_EQ(s.File(),
            "[GENERAL]\r\n[FILE]\r\nInput=b\r\nColumn=1\r\nDelimiter=\r\n\r\n[OTHER]\r\nx=1\r\n"
            "[SINGLE]\r\nFlag=On\r\nCount=-2147483648\r\n");
}

TEST(WriteSetting, FileDeletedMeanwhileIsCreatedWithoutTheGeneralLine) {
  StoreFixture s;
  std::filesystem::remove(s.folder.Path() / "Zerbanix.ini");
  EXPECT_EQ(s.store.ReadSettingText("SINGLE", "Number"), "");
  s.store.WriteSettingText("SINGLE", "Number", "1234567897");
  EXPECT_EQ(s.File(), "[SINGLE]\r\nNumber=1234567897\r\n");
}

TEST(WriteSetting, JunkFilesAreReadWithoutHarmAndKeptByWrites) {
  const std::string junk = "\x01\xFF\0garbage\0=\0"s;
  const std::string longLine(100000, 'L');
  StoreFixture s;
  s.SetFile(junk + "\r\n[A]\r\nk=first\r\nk=second\r\n" + longLine +
            "\r\n[a]\r\nk=third\r\nm=4\r\n");
  EXPECT_EQ(s.store.ReadSettingText("A", "k"), "first");
  EXPECT_EQ(s.store.ReadSettingText("A", "m"), "4");
  s.store.WriteSettingText("A", "k", "new");
  s.store.WriteSettingText("A", "n", "5");
  EXPECT_EQ(s.File(), junk + "\r\n[A]\r\nk=new\r\nk=second\r\n" + longLine +
                          "\r\nn=5\r\n[a]\r\nk=third\r\nm=4\r\n");

  s.SetFile("[B]x=1 no line ends at all");
  EXPECT_EQ(s.store.ReadSettingText("B", "x"), "");
  s.store.WriteSettingText("B", "y", "2");
  EXPECT_EQ(s.File(), "[B]x=1 no line ends at all\r\ny=2\r\n");
}

TEST(WriteSetting, FailureRaisesTheErrorAndKeepsTheFile) {
  StoreFixture s;
  const std::filesystem::path file = s.folder.Path() / "Zerbanix.ini";
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);  // nothing can be written under that name
  try {
    s.store.WriteSettingText("SINGLE", "Number", "1");
    ADD_FAILURE() << "the write should have failed";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + s.store.SettingsFilePath());
  }
  EXPECT_EQ(s.folder.EntryCount(), 1u);  // no temporary file left
  // The failed access released the store: once the obstacle is gone the next write succeeds,
  // and nothing holds the file open afterwards (Windows could not remove an open file).
  std::filesystem::remove(file);
  s.store.WriteSettingText("SINGLE", "Number", "2");
  EXPECT_EQ(s.File(), "[SINGLE]\r\nNumber=2\r\n");
  std::error_code error;
  EXPECT_TRUE(std::filesystem::remove(file, error)) << error.message();
}

TEST(WriteSetting, ReadOnlyFileIsNotReplaced) {
  StoreFixture s;
  s.SetFile("[SINGLE]\r\nNumber=1\r\n");
  const std::filesystem::path file = s.folder.Path() / "Zerbanix.ini";
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  EXPECT_THROW(s.store.WriteSettingText("SINGLE", "Number", "2"), std::runtime_error);
  std::filesystem::permissions(file, std::filesystem::perms::owner_all);
  EXPECT_EQ(s.File(), "[SINGLE]\r\nNumber=1\r\n");
}

}  // namespace
}  // namespace sipo
