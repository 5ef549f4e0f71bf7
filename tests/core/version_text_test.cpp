// Tests of the About window's version line.
#include "program/version_text.h"

#include <gtest/gtest.h>

namespace sipo {
namespace {

TEST(VersionLabelText, FourNumbersWithoutLeadingZerosOrAWordWhenThereAreNone) {
  const std::string prefix = "\xE8\xEDslo verze programu (build) : ";
  EXPECT_EQ(VersionLabelText(FileVersion{1, 0, 1, 3}), prefix + "1.0.1.3");
  EXPECT_EQ(VersionLabelText(FileVersion{10, 200, 0, 65535}), prefix + "10.200.0.65535");
  EXPECT_EQ(VersionLabelText(std::nullopt), prefix + "nezn\xE1m\xE9");
}

}  // namespace
}  // namespace sipo
