// maker.h - the maker's web host and contact address. They are set once, at build time, and the
// defaults are fictional names under the reserved .example domain, so that no build ever sends
// traffic to a stranger's host.
#pragma once

#ifndef SIPO_MAKER_HOST
#define SIPO_MAKER_HOST "www.tamrix.example"
#endif
#ifndef SIPO_CONTACT_EMAIL
#define SIPO_CONTACT_EMAIL "sipo@tamrix.example"
#endif

namespace sipo {

inline constexpr const char* kMakerHost = SIPO_MAKER_HOST;
inline constexpr const char* kMakerPagePath = "/index.sipo.htm";
inline constexpr const char* kContactEmail = SIPO_CONTACT_EMAIL;

}  // namespace sipo
