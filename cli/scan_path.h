// scan_path.h - which line loop a file run takes, as sipocheck tells it: SIPO_SCAN_PATH may force
// one by name (scalar, sse2, avx2), and a name this processor cannot run is refused before any
// command runs, rather than quietly replaced.
#pragma once

#include <optional>
#include <string>

namespace sipo::cli {

// The message that refuses SIPO_SCAN_PATH's value (without the program's name); none when the
// variable is unset, empty, or names a line loop this processor runs.
std::optional<std::string> ScanPathRefusal();

// "line loop: NAME", the line loop a run takes now.
std::string ScanPathLine();

}  // namespace sipo::cli
