// output_target.cpp - what an output's name leads to, and whether two outputs share a file.
#include "files/output_target.h"

#include <cerrno>

#include "files/descriptor.h"
#include "files/file_identity.h"
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

// An output reached by its name is known by the file it opens and by its place; one written
// through a descriptor by the file the descriptor is on.
FileIdentity IdentityOf(const OutputTarget& target) {
  return target.kind == OutputTarget::Kind::Descriptor ? IdentityOfDescriptor(target.descriptor)
                                                       : IdentityOfName(target.path);
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

// Two outputs are one file when they reach one existing file, or one name in one folder,
// however spelt and by whatever way the folder is reached (see file_identity.h).
bool SameFile(const OutputTarget& a, const OutputTarget& b) {
  using Kind = OutputTarget::Kind;
  for (const OutputTarget* t : {&a, &b}) {
    if (t->kind != Kind::File && t->kind != Kind::Descriptor) return false;
  }
  if (!EndsInRegularFile(a) && !EndsInRegularFile(b)) return false;
  return SameIdentity(IdentityOf(a), IdentityOf(b));
}

// Only a regular file can be both: a terminal that is standard input and standard output is the
// ordinary interactive run.
bool WritesIntoInput(const OutputTarget& output, const std::filesystem::path& input) {
  if (output.kind != OutputTarget::Kind::Descriptor) return false;
  const std::optional<FileId> written = FileIdOfDescriptor(output.descriptor);
  if (!written || !written->regular) return false;
  const std::optional<FileId> read = input.empty() ? FileIdOfDescriptor(0) : FileIdOf(input);
  return read && read->SameAs(*written);
}

}  // namespace sipo
