// output_target.h - what an output's name leads to: a file that a run replaces, a device or a
// pipe written in place, one of the process's own descriptors (standard output and its aliases),
// or something no run can write; and whether two outputs would end in one file.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

namespace sipo {

struct OutputTarget {
  enum class Kind { File, Device, Descriptor, Directory, LinkLoop };
  Kind kind = Kind::File;
  // File, Device, Directory: where the name's symbolic links end.
  std::filesystem::path path;
  // Descriptor: the process's own open descriptor, written where it stands.
  int descriptor = -1;
};

// Follows the name's links. On POSIX /dev/stdout, /dev/stderr, /dev/stdin, /dev/fd/N and
// /proc/self/fd/N (or a link to one) are the process's own descriptors: following them would
// replace the file behind standard output, where the caller asked for an append or a pipe.
OutputTarget TargetOf(const std::filesystem::path& name);
// Standard output, which a command line's "-" names.
OutputTarget StandardOutputTarget();

// Why an output cannot be written at all ("is a directory", "is a loop of symbolic links", with
// the error that says so); nothing when it can be tried.
struct Refusal {
  std::string_view why;
  std::error_code error;
};
std::optional<Refusal> RefusalOf(const OutputTarget& target);
std::optional<std::string_view> OutputRefusal(const std::filesystem::path& target);

// True when both outputs would reach one regular file (the same name, another spelling of it, a
// link or a hard link to it, a descriptor open on it), so that one would replace the other's
// lines. Two devices or pipes (both to /dev/null, both to a terminal) are never the same file.
bool SameFile(const OutputTarget& a, const OutputTarget& b);

// True when an output written where it stands (standard output, a descriptor) is on the input's
// own file (standard input when input is empty): the run would read back its own lines, growing
// the input without end or writing over what it has yet to read.
bool WritesIntoInput(const OutputTarget& output, const std::filesystem::path& input);

}  // namespace sipo
