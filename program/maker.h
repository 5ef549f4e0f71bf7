// maker.h - the maker's web host and contact address. They are set once, at build time, and the
// defaults are fictional names under the reserved .example domain, so that no build ever sends
// traffic to a stranger's host.
#pragma once

#include <string>

#include "program/maker_values.h"  // written by CMake from the cache variables of the same names

namespace sipo {

inline constexpr const char* kMakerHost = SIPO_MAKER_HOST;
inline constexpr const char* kMakerPagePath = "/index.sipo.htm";
inline constexpr const char* kContactEmail = SIPO_CONTACT_EMAIL;

// Where the logo leads.
inline std::string MakerPageAddress() {
  return std::string("http://") + kMakerHost + kMakerPagePath;
}

}  // namespace sipo
