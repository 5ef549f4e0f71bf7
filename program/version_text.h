// version_text.h - the About window's version line, from the executable's file version.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sipo {

// Major, minor, release, build.
using FileVersion = std::array<std::uint16_t, 4>;

// "číslo verze programu (build) : 1.0.1.3" (Windows-1250); "neznámé" (unknown) for an
// executable without version metadata.
std::string VersionLabelText(const std::optional<FileVersion>& version);

}  // namespace sipo
