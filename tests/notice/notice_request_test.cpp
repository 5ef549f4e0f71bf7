// Tests of the start-up notice's request bytes and of the maker's addresses.
#include "app/notice_request.h"

#include <gtest/gtest.h>

#include "app/maker.h"

namespace sipo {
namespace {

TEST(NoticeRequest, IsFiveLinesByteForByte) {
  EXPECT_EQ(NoticeRequest("www.tamrix.example"),
            "GET /sipo.xml HTTP/1.1\r\n"
            "Host: www.tamrix.example\r\n"
            "Accept: text/html, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
            "\r\n");
}

TEST(Maker, AddressesAreBuiltFromTheOneHostAndAddress) {
  EXPECT_FALSE(MakerHost().empty());
  EXPECT_EQ(MakerHost().find_first_of(":/ "), std::string_view::npos);
  EXPECT_EQ(MakerPageAddress(), "http://" + std::string(MakerHost()) + "/index.sipo.htm");
  EXPECT_EQ(MakerMailto(), "mailto:" + std::string(MakerEmail()));
  EXPECT_NE(MakerEmail().find('@'), std::string_view::npos);
}

}  // namespace
}  // namespace sipo
