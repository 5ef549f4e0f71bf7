// Tests of the file-name field's text rules: the browse's preset name, the quoting of a chosen
// name and the folder a browse starts in.
#include "ui/controls/file_name_text.h"

#include <gtest/gtest.h>

#include <set>

namespace sipo::ui {
namespace {

std::string Show(std::u16string_view text) {
  return std::string(text.begin(), text.end());  // the cases are ASCII
}

struct TextCase {
  std::u16string_view input;
  std::u16string_view expected;
};

TEST(FileNameText, FirstWordTakesQuotedPartsWholeWithoutTheirQuotes) {
  const TextCase cases[] = {
      {u"", u""},
      {u"C:\\data\\in.txt", u"C:\\data\\in.txt"},
      {u"C:\\data\\in.txt more words", u"C:\\data\\in.txt"},
      {u"  \tC:\\in.txt x", u"C:\\in.txt"},
      {u"\"C:\\My Files\\in.txt\" rest", u"C:\\My Files\\in.txt"},
      {u"C:\\\"My Files\"\\in.txt rest", u"C:\\My Files\\in.txt"},
      {u"\"C:\\open quote\\in.txt", u"C:\\open quote\\in.txt"},
      {u"\"\" x", u""},
      {u"a\tb", u"a"},
      {u"   ", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirstWord(c.input), c.expected) << "input " << Show(c.input);
  }
}

TEST(FileNameText, PresetIsTheWholeTextOnlyWhenItNamesAnExistingFile) {
  const std::set<std::u16string> files = {u"C:\\My Files\\in.txt"};
  auto exists = [&](std::u16string_view name) { return files.count(std::u16string(name)) > 0; };
  EXPECT_EQ(BrowsePresetName(u"C:\\My Files\\in.txt", exists), u"C:\\My Files\\in.txt");
  EXPECT_EQ(BrowsePresetName(u"C:\\My Files\\other.txt", exists), u"C:\\My");
  EXPECT_EQ(BrowsePresetName(u"\"C:\\My Files\\in.txt\"", exists), u"C:\\My Files\\in.txt");
  bool asked = false;
  auto noteAsked = [&](std::u16string_view) { return asked = true, false; };
  EXPECT_EQ(BrowsePresetName(u"", noteAsked), u"");
  EXPECT_FALSE(asked) << "an empty field names no file";
}

TEST(FileNameText, ChosenNameIsQuotedWhenItHoldsASpaceAndIsNotQuotedYet) {
  const TextCase cases[] = {
      {u"C:\\data\\in.txt", u"C:\\data\\in.txt"},
      {u"C:\\My Files\\in.txt", u"\"C:\\My Files\\in.txt\""},
      {u"\"C:\\My Files\\in.txt\"", u"\"C:\\My Files\\in.txt\""},
      {u"\"C:\\My Files\\in.txt", u"\"C:\\My Files\\in.txt"},
      {u"C:\\tab\there.txt", u"C:\\tab\there.txt"},
      {u" ", u"\" \""},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QuotedIfSpaced(c.input), c.expected) << "input " << Show(c.input);
  }
}

TEST(FileNameText, FolderOfANameKeepsTheRootOfADrive) {
  const TextCase cases[] = {
      {u"C:\\data\\in.txt", u"C:\\data"},
      {u"C:\\My Files\\sub\\in.txt", u"C:\\My Files\\sub"},
      {u"C:\\in.txt", u"C:\\"},
      {u"C:/data/in.txt", u"C:/data"},
      {u"\\in.txt", u"\\"},
      {u"\\\\server\\share\\in.txt", u"\\\\server\\share"},
      {u"C:\\data\\", u"C:\\data"},
      {u"in.txt", u""},
      {u"C:in.txt", u""},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderOf(c.input), c.expected) << "input " << Show(c.input);
  }
}

}  // namespace
}  // namespace sipo::ui
