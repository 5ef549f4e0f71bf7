// Tests of the start-up notice's request bytes.
#include "notice/notice_request.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace sipo
