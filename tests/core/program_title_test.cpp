// Tests of the program title and the error box text.
#include "program/program_title.h"

#include <gtest/gtest.h>

namespace sipo {
namespace {

TEST(ProgramTitle, FileNameWithoutExtensionLowerCasedAfterTheFirstLetter) {
  EXPECT_EQ(ProgramTitle("C:\\Program Files\\SIPO\\Sipo.exe"), "Sipo");
  EXPECT_EQ(ProgramTitle("C:\\Tools\\SIPO.EXE"), "Sipo");
  EXPECT_EQ(ProgramTitle("D:\\x\\ka.ta.LOG.exe"), "ka.ta.log");
  EXPECT_EQ(ProgramTitle("\xC8\x45SK\xDD.exe"), "\xC8\x65sk\xFD");  // ČESKÝ -> Český
  EXPECT_EQ(ProgramTitle("Z:plain"), "plain");  // the first letter stays as it is
}

TEST(ErrorBoxText, AppendsAFullStopAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(ErrorBoxText("Cannot open clipboard"), "Cannot open clipboard.");
  EXPECT_EQ(ErrorBoxText("Unable to write to C:\\x\\Zerbanix.ini"),
            "Unable to write to C:\\x\\Zerbanix.ini.");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("Really?"), "Really?.");  // '?' sorts after '.'
  EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");       // '!' sorts before '.'
  EXPECT_EQ(ErrorBoxText("chyba \xE8"), "chyba \xE8.");
  EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
}  // namespace sipo
