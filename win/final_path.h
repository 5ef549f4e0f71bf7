// final_path.h - where an existing file's name leads once the system has followed every link.
#pragma once

#include <filesystem>

namespace sipo::win {

// The final path of an existing file or folder in its usual "C:\..." (or "\\server\...") form;
// empty when it cannot be opened. Sees links that the standard library misses: a link made on
// the host is no reparse point under Wine, but the system still follows it.
std::filesystem::path FinalPathOf(const std::filesystem::path& existing);

}  // namespace sipo::win
