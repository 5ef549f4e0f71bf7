// maker.h - the maker's web host, web page and contact address. They are fixed when the program
// is built (CMake cache variables SIPO_MAKER_HOST and SIPO_MAKER_EMAIL) and live nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace sipo {

// The host of the start-up notice and of the logo link, without scheme or port.
std::string_view MakerHost();
// The page the logo opens: "http://", the host, "/index.sipo.htm".
std::string MakerPageAddress();
// The contact address the About window shows, and the same after "mailto:".
std::string_view MakerEmail();
std::string MakerMailto();

}  // namespace sipo
