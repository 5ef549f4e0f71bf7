// Tests of the Windows-1250 conversion used for every Czech text on screen and in file names.
#include "core/codepage1250.h"

#include <gtest/gtest.h>

namespace sipo {
namespace {

TEST(Codepage1250, CzechLettersRoundTrip) {
  const std::string bytes = "Zav\xF8\xEDt \x8A\x9A\x8E\x9E\xC8\xE8\xD8\xF8\xD9\xF9";
  const std::u16string wide = u"Zavřít ŠšŽžČčŘřŮů";
  EXPECT_EQ(Cp1250ToUtf16(bytes), wide);
  EXPECT_EQ(Utf16ToCp1250(wide), bytes);
}

TEST(Codepage1250, EveryByteRoundTripsAndForeignCharactersBecomeQuestionMarks) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf16ToCp1250(Cp1250ToUtf16(all)), all);
  EXPECT_EQ(Utf16ToCp1250(u"€ ß ñ 日"), "\x80 \xDF ? ?");
  EXPECT_EQ(Cp1250ToUtf8("\xE8\xED\x80 x"), "čí€ x");
}

}  // namespace
}  // namespace sipo
