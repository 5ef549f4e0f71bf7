// output_target.cpp - what an output's name leads to, and whether two outputs share a file.
#include "files/output_target.h"

#include <cerrno>

#include "files/descriptor.h"
#include "files/native_path.h"

namespace sipo {
namespace {

constexpr int kMaxLinks = 40;

// A device or a FIFO is written where it is: replacing it by a file would break it for every
// other program.
OutputTarget::Kind KindOf(const std::filesystem::path& target) {
  if (IsWindowsDeviceName(target)) return OutputTarget::Kind::Device;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(target, error);
  if (std::filesystem::is_directory(status)) return OutputTarget::Kind::Directory;
  if (std::filesystem::is_character_file(status) || std::filesystem::is_fifo(status))
    return OutputTarget::Kind::Device;
  return OutputTarget::Kind::File;
}

OutputTarget ByPath(std::filesystem::path path) {
  const OutputTarget::Kind kind = KindOf(path);
  return {kind, std::move(path), -1};
}

// Whether the output ends in a regular file, one that exists or that a run would create.
bool EndsInRegularFile(const OutputTarget& target) {
  if (target.kind == OutputTarget::Kind::File) return true;
  DescriptorFacts facts;
  return target.kind == OutputTarget::Kind::Descriptor && FactsOf(target.descriptor, facts) &&
         facts.regular;
}

// The name under which the output's file is compared with another; empty when there is none.
std::filesystem::path ComparedName(const OutputTarget& target) {
  return target.kind == OutputTarget::Kind::Descriptor ? DescriptorPath(target.descriptor)
                                                       : target.path;
}

// A file that does not exist yet is known by its full name, its folder's links resolved.
std::filesystem::path FullName(const std::filesystem::path& name) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(name, error);
  std::filesystem::path full = std::filesystem::weakly_canonical(absolute, error);
  if (error) full = absolute;
  return full.lexically_normal();
}

}  // namespace

// The file a chain of symbolic links ends at, which is the one to replace; the name itself when
// it is no link. A loop (or a chain too long to follow) ends nowhere a write could.
OutputTarget TargetOf(const std::filesystem::path& name) {
  std::filesystem::path path = name;
  for (int i = 0; i < kMaxLinks; ++i) {
    if (const std::optional<int> fd = DescriptorAlias(path))
      return {OutputTarget::Kind::Descriptor, {}, *fd};
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
      // The library may not see every link the system follows (Windows under Wine).
      return ByPath(std::filesystem::exists(path, error) ? ResolvedByPlatform(path) : path);
    }
    const std::filesystem::path next = std::filesystem::read_symlink(path, error);
    if (error) return ByPath(path);
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return {OutputTarget::Kind::LinkLoop, name, -1};
}

OutputTarget StandardOutputTarget() {
  return {OutputTarget::Kind::Descriptor, {}, 1};
}

std::optional<Refusal> RefusalOf(const OutputTarget& target) {
  switch (target.kind) {
    case OutputTarget::Kind::Directory:
      return Refusal{"is a directory", {EISDIR, std::generic_category()}};
    case OutputTarget::Kind::LinkLoop:
      return Refusal{"is a loop of symbolic links", {ELOOP, std::generic_category()}};
    default:
      return std::nullopt;
  }
}

std::optional<std::string_view> OutputRefusal(const std::filesystem::path& target) {
  const std::optional<Refusal> refusal = RefusalOf(TargetOf(target));
  if (!refusal) return std::nullopt;
  return refusal->why;
}

// Files that exist are compared by identity (device and inode; on Windows the volume and the
// file index), which sees hard links and every spelling; names that do not exist yet by their
// full spelling.
bool SameFile(const OutputTarget& a, const OutputTarget& b) {
  using Kind = OutputTarget::Kind;
  for (const OutputTarget* t : {&a, &b}) {
    if (t->kind != Kind::File && t->kind != Kind::Descriptor) return false;
  }
  if (!EndsInRegularFile(a) && !EndsInRegularFile(b)) return false;
  const std::filesystem::path x = ComparedName(a), y = ComparedName(b);
  if (x.empty() || y.empty()) return false;
  std::error_code error;
  const bool xExists = std::filesystem::exists(x, error);
  const bool yExists = std::filesystem::exists(y, error);
  if (xExists != yExists) return false;
  if (xExists) return std::filesystem::equivalent(x, y, error) && !error;
  return SameSpelling(FullName(x), FullName(y));
}

}  // namespace sipo
