// notice_request.cpp - the bytes of the start-up notice's one HTTP request.
#include "notice/notice_request.h"

namespace sipo {

std::string NoticeRequest(std::string_view host) {
  // No other header: in particular no Connection header, so the server may keep the
  // connection alive, and nothing that identifies the user.
  std::string request = "GET ";
  request.append(kNoticePath).append(" HTTP/1.1\r\n");
  request.append("Host: ").append(host).append("\r\n");
  request.append("Accept: text/html, */*\r\n");
  request.append("User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n");
  request.append("\r\n");
  return request;
}

}  // namespace sipo
