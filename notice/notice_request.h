// notice_request.h - the bytes of the start-up notice's one HTTP request.
#pragma once

#include <string>
#include <string_view>

namespace sipo {

// The path the notice asks for.
inline constexpr std::string_view kNoticePath = "/sipo.xml";

// "GET /sipo.xml HTTP/1.1", Host, Accept and User-Agent, each line and the closing empty line
// ended by CR LF. The host goes into the Host line as given, without a port.
std::string NoticeRequest(std::string_view host);

}  // namespace sipo
