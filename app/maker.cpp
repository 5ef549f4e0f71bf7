// maker.cpp - the maker's web host, web page and contact address, fixed when the program is built.
#include "app/maker.h"

// Set by app/CMakeLists.txt from its cache variables; the defaults are names under the reserved
// ".example" domain, so that no build sends anything to a real host by accident.
#ifndef SIPO_MAKER_HOST
#error "SIPO_MAKER_HOST must be defined by the build"
#endif
#ifndef SIPO_MAKER_EMAIL
#error "SIPO_MAKER_EMAIL must be defined by the build"
#endif

namespace sipo {
namespace {
constexpr std::string_view kPagePath = "/index.sipo.htm";
}  // namespace

std::string_view MakerHost() {
  return SIPO_MAKER_HOST;
}

std::string MakerPageAddress() {
  std::string address = "http://";
  address.append(MakerHost()).append(kPagePath);
  return address;
}

std::string_view MakerEmail() {
  return SIPO_MAKER_EMAIL;
}

std::string MakerMailto() {
  std::string address = "mailto:";
  address.append(MakerEmail());
  return address;
}

}  // namespace sipo
