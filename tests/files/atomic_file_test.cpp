// Tests of atomic replacement: what the user set up on the old file is kept, names of every
// length work, and temporaries never outlive their run.
#include "files/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/native_path.h"
#include "files/temporary_files.h"
#include "files/whole_file.h"
#include "tests/support/temp_folder.h"

#include <fstream>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace sipo {
namespace {

namespace fs = std::filesystem;

bool Replace(const fs::path& target, const std::string& bytes) {
  AtomicFileWriter writer(target);
  writer.Write(bytes);
  return writer.Commit();
}

TEST(AtomicFileWriter, ReplacesOnlyAtCommitAndLeavesNothingBehind) {
  test::TempFolder folder;
  folder.Write("out.txt", "old");
  {
    AtomicFileWriter writer(folder.Path() / "out.txt");
    writer.Write("new");
    EXPECT_EQ(folder.Read("out.txt"), "old");
    EXPECT_EQ(folder.EntryCount(), 2u);
  }  // dropped without Commit
  EXPECT_EQ(folder.Read("out.txt"), "old");
  EXPECT_EQ(folder.EntryCount(), 1u);
  EXPECT_TRUE(Replace(folder.Path() / "out.txt", std::string(3 << 20, 'x')));
  EXPECT_EQ(folder.Read("out.txt").size(), 3u << 20);
  EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(AtomicFileWriter, NamesAsLongAsTheFileSystemAllows) {
  test::TempFolder folder;
  const std::string name(255, 'n');
  ASSERT_TRUE(Replace(folder.Path() / name, "long\r\n"));
  EXPECT_EQ(folder.Read(name), "long\r\n");
  EXPECT_TRUE(Replace(folder.Path() / name, "again\r\n"));
  EXPECT_EQ(folder.Read(name), "again\r\n");
}

#ifndef _WIN32
TEST(AtomicFileWriter, KeepsPermissionBits) {
  test::TempFolder folder;
  for (const fs::perms bits :
       {fs::perms::owner_read | fs::perms::owner_write,
        fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read}) {
    folder.Write("out.txt", "old");
    fs::permissions(folder.Path() / "out.txt", bits);
    ASSERT_TRUE(Replace(folder.Path() / "out.txt", "new"));
    EXPECT_EQ(fs::status(folder.Path() / "out.txt").permissions(), bits);
    EXPECT_EQ(folder.Read("out.txt"), "new");
  }
}

TEST(AtomicFileWriter, ASymbolicLinkStaysALinkAndItsTargetIsReplaced) {
  test::TempFolder folder;
  fs::create_directory(folder.Path() / "data");
  folder.Write("data/real.txt", "old");
  fs::create_symlink("data/real.txt", folder.Path() / "link.txt");
  fs::create_symlink(folder.Path() / "link.txt", folder.Path() / "chain.txt");
  ASSERT_TRUE(Replace(folder.Path() / "chain.txt", "new"));
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "link.txt"));
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "chain.txt"));
  EXPECT_EQ(folder.Read("data/real.txt"), "new");
  // A link to a file that does not exist yet creates that file.
  fs::create_symlink("data/later.txt", folder.Path() / "dangling.txt");
  ASSERT_TRUE(Replace(folder.Path() / "dangling.txt", "made"));
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "dangling.txt"));
  EXPECT_EQ(folder.Read("data/later.txt"), "made");
}

TEST(AtomicFileWriter, RemovesTheTemporaryOfAKilledRunOnlyOnceItsProcessIsGone) {
  test::TempFolder folder;
  fs::create_directory(folder.Path() / "sub");
  const fs::path target = folder.Path() / "out.txt";
  pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_GT(gone, 0);
  waitpid(gone, nullptr, 0);
  const fs::path stale = TemporaryNameFor(target, static_cast<std::uint64_t>(gone), 1);
  // The same output spelled another way leaves temporaries of the same name.
  const fs::path respelled =
      TemporaryNameFor(folder.Path() / "sub" / ".." / "." / "out.txt", gone, 2);
  const fs::path live = TemporaryNameFor(target, static_cast<std::uint64_t>(getppid()), 1);
  const fs::path other =
      TemporaryNameFor(folder.Path() / "other.txt", static_cast<std::uint64_t>(gone), 1);
  for (const auto& path : {stale, respelled, live, other}) std::ofstream(path) << "partial";
  EXPECT_LE(stale.filename().string().size(), 48u);
  ASSERT_TRUE(Replace(target, "new"));
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_FALSE(fs::exists(respelled));
  EXPECT_TRUE(fs::exists(live));   // its process still runs
  EXPECT_TRUE(fs::exists(other));  // it belongs to another output
}

// A name that cannot be removed nor created (a folder in its way) is passed over for a fresh one.
TEST(AtomicFileWriter, ANameInTheWayGivesAFreshOne) {
  test::TempFolder folder;
  const fs::path target = folder.Path() / "out.txt";
  for (std::uint64_t counter = 1; counter <= 20; ++counter) {
    const fs::path blocker = TemporaryNameFor(target, CurrentProcessId(), counter);
    fs::create_directory(blocker);
    std::ofstream(blocker / "keep") << "x";
  }
  ASSERT_TRUE(Replace(target, "new"));
  EXPECT_EQ(folder.Read("out.txt"), "new");
  EXPECT_EQ(folder.EntryCount(), 21u);
}

// The temporary is opened beside the output by its name alone: a path the system just takes
// still gets one, although the temporary's own full path would be longer.
TEST(AtomicFileWriter, AnOutputPathAtTheSystemsLimit) {
  test::TempFolder folder;
  fs::path deep = folder.Path();
  const std::size_t limit = 4094;
  while (deep.native().size() + 1 + 200 + 1 + 20 < limit) {
    deep /= std::string(200, 'd');
    ASSERT_TRUE(fs::create_directory(deep));
  }
  const fs::path target = deep / std::string(limit - deep.native().size() - 1, 'o');
  ASSERT_EQ(target.native().size(), limit);
  ASSERT_TRUE(Replace(target, "deep"));
  std::ifstream in(target, std::ios::binary);
  std::string content;
  std::getline(in, content);
  EXPECT_EQ(content, "deep");
  EXPECT_EQ(std::distance(fs::directory_iterator(deep), fs::directory_iterator()), 1);
}

// Outputs that are no regular file: a device or a FIFO is written where it is, a folder or a loop
// of links is refused and stays as it was.
TEST(AtomicFileWriter, OutputsThatAreNoRegularFile) {
  test::TempFolder folder;
  ASSERT_EQ(mkfifo((folder.Path() / "fifo").c_str(), 0600), 0);
  std::string fromFifo;
  std::thread reader([&] {
    std::ifstream in(folder.Path() / "fifo", std::ios::binary);
    fromFifo.assign(std::istreambuf_iterator<char>(in), {});
  });
  EXPECT_TRUE(Replace(folder.Path() / "fifo", "through the fifo\r\n"));
  reader.join();
  EXPECT_EQ(fromFifo, "through the fifo\r\n");
  EXPECT_TRUE(fs::is_fifo(folder.Path() / "fifo"));

  EXPECT_FALSE(OutputRefusal("/dev/null"));
  EXPECT_TRUE(Replace("/dev/null", "nothing\r\n"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  fs::create_directory(folder.Path() / "dir");
  fs::create_symlink("loop-b", folder.Path() / "loop-a");
  fs::create_symlink("loop-a", folder.Path() / "loop-b");
  const std::pair<const char*, const char*> refused[] = {{"dir", "is a directory"},
                                                         {"loop-a", "is a loop of symbolic links"}};
  for (const auto& [name, why] : refused) {
    EXPECT_EQ(OutputRefusal(folder.Path() / name).value_or(""), why) << name;
    EXPECT_FALSE(Replace(folder.Path() / name, "x")) << name;
  }
  EXPECT_TRUE(fs::is_directory(folder.Path() / "dir"));
  EXPECT_TRUE(fs::is_empty(folder.Path() / "dir"));
  EXPECT_EQ(fs::read_symlink(folder.Path() / "loop-a"), "loop-b");
  EXPECT_EQ(folder.EntryCount(), 4u);  // fifo, dir, both links: no temporary left
}
#endif

// Process ids come back (on Windows often at once): leftovers that carry this process's own id,
// but that it did not make, are removed, and never keep it from writing.
TEST(AtomicFileWriter, LeftoversWithThisProcesssOwnIdAreRemoved) {
  test::TempFolder folder;
  const fs::path target = folder.Path() / "out.txt";
  for (std::uint64_t counter = 1; counter <= 20; ++counter)
    std::ofstream(TemporaryNameFor(target, CurrentProcessId(), counter)) << "partial";
  ASSERT_TRUE(Replace(target, "new"));
  EXPECT_EQ(folder.Read("out.txt"), "new");
  EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST(AtomicFileWriter, WindowsDeviceNames) {
  const std::pair<const char*, bool> names[] = {
      {"NUL", true},         {"nul", true},      {"C:\\dir\\NUL.txt", true},
      {"com1", true},        {"LPT9.log", true}, {"\\\\.\\pipe\\x", true},
      {"null", false},       {"COM0", false},    {"nul-file", false},
      {"CONSOLE.txt", false}};
  for (const auto& [name, device] : names) {
#ifdef _WIN32
    EXPECT_EQ(IsWindowsDeviceName(name), device) << name;
#else
    EXPECT_FALSE(IsWindowsDeviceName(name)) << name;
    (void)device;
#endif
  }
}

// Writers committed together replace both targets or neither; each failure keeps its reason.
TEST(AtomicFileWriter, WritersCommittedTogetherReplaceBothOrNeither) {
  test::TempFolder folder;
  folder.Write("a.txt", "old a");
  folder.Write("b.txt", "old b");
  {
    AtomicFileWriter a(folder.Path() / "a.txt"), b(folder.Path() / "b.txt");
    AtomicFileWriter::CommitTogether(a, b);
    a.Write("new a");
    b.Write("new b");
    EXPECT_TRUE(a.Commit());
    EXPECT_EQ(folder.Read("b.txt"), "new b");  // the first commit replaced both
    EXPECT_TRUE(b.Commit());
  }
  EXPECT_EQ(folder.Read("a.txt"), "new a");
  EXPECT_EQ(folder.EntryCount(), 2u);

  AtomicFileWriter missing(folder.Path() / "no-folder" / "c.txt");
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_TRUE(missing.Error());
#ifndef _WIN32
  EXPECT_EQ(missing.Error(), std::errc::no_such_file_or_directory);
  // /dev/full takes no byte: the file committed with it keeps its old content.
  {
    AtomicFileWriter a(folder.Path() / "a.txt"), full(fs::path("/dev/full"));
    AtomicFileWriter::CommitTogether(a, full);
    a.Write("lost a");
    full.Write("nowhere");
    EXPECT_FALSE(a.Commit());
    EXPECT_FALSE(full.Commit());
    EXPECT_FALSE(a.Error());  // held back, no failure of its own
    EXPECT_EQ(full.Error(), std::errc::no_space_on_device);
  }
  EXPECT_EQ(folder.Read("a.txt"), "new a");
  EXPECT_EQ(folder.EntryCount(), 2u);
#endif
}

#ifndef _WIN32
// Standard output's aliases are the process's own descriptors, written where they stand and never
// closed: a pipe stays a pipe, an append stays an append.
TEST(OutputTarget, DescriptorAliasesAreWrittenThroughTheDescriptor) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  for (const std::string name : {"/dev/fd/", "/proc/self/fd/", "/dev/./fd/"}) {
    const OutputTarget target = TargetOf(name + std::to_string(ends[1]));
    ASSERT_EQ(target.kind, OutputTarget::Kind::Descriptor) << name;
    EXPECT_EQ(target.descriptor, ends[1]);
    AtomicFileWriter writer(target);
    writer.Write("through\n");
    EXPECT_TRUE(writer.Commit());
  }
  char got[64] = {};
  EXPECT_EQ(read(ends[0], got, sizeof got), 24);
  EXPECT_EQ(std::string(got), "through\nthrough\nthrough\n");
  EXPECT_EQ(TargetOf("/dev/stdout").descriptor, 1);
  EXPECT_EQ(TargetOf("/dev/stderr").descriptor, 2);
  // The read end takes no writes, a closed descriptor none at all: both fail before any byte.
  AtomicFileWriter readEnd(TargetOf("/dev/fd/" + std::to_string(ends[0])));
  EXPECT_FALSE(readEnd.IsOpen());
  EXPECT_TRUE(readEnd.Error());
  close(ends[0]);
  close(ends[1]);
  AtomicFileWriter closed(TargetOf("/dev/fd/" + std::to_string(ends[1])));
  EXPECT_EQ(closed.Error(), std::errc::bad_file_descriptor);
}

TEST(OutputTarget, TwoDevicesAreNeverOneFile) {
  EXPECT_FALSE(SameFile(TargetOf("/dev/null"), TargetOf("/dev/null")));
  test::TempFolder folder;
  EXPECT_TRUE(SameFile(TargetOf(folder.Path() / "x"), TargetOf(folder.Path() / "." / "x")));
  EXPECT_FALSE(SameFile(TargetOf(folder.Path() / "x"), TargetOf(folder.Path() / "y")));
}
#endif

TEST(ReadWholeFile, ReadsEverythingOrFails) {
  test::TempFolder folder;
  folder.Write("in.txt", std::string(300000, 'y'));
  FileContent content;
  ASSERT_TRUE(ReadWholeFile(folder.File("in.txt"), content));
  EXPECT_EQ(content.View(), std::string(300000, 'y'));
  EXPECT_FALSE(ReadWholeFile(folder.File("missing.txt"), content));
  EXPECT_EQ(content.View(), "");
  EXPECT_FALSE(ReadWholeFile(folder.Dir(), content));
  EXPECT_FALSE(ReadWholeFile("", content));
}

}  // namespace
}  // namespace sipo
