// Tests of atomic replacement: what the user set up on the old file is kept, names of every
// length work, and temporaries never outlive their run.
#include "files/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/temporary_files.h"
#include "files/whole_file.h"
#include "tests/batch/temp_folder.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
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
  const fs::path target = folder.Path() / "out.txt";
  pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_GT(gone, 0);
  waitpid(gone, nullptr, 0);
  const fs::path stale = TemporaryNameFor(target, static_cast<std::uint64_t>(gone), 1);
  const fs::path live = TemporaryNameFor(target, static_cast<std::uint64_t>(getppid()), 1);
  const fs::path other =
      TemporaryNameFor(folder.Path() / "other.txt", static_cast<std::uint64_t>(gone), 1);
  for (const auto& path : {stale, live, other}) std::ofstream(path) << "partial";
  EXPECT_LE(stale.filename().string().size(), 48u);
  ASSERT_TRUE(Replace(target, "new"));
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(live));   // its process still runs
  EXPECT_TRUE(fs::exists(other));  // it belongs to another output
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
