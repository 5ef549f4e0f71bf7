// Tests of reading an input in blocks: a file that another program changes during the read is a
// failure, however it was changed, while a pseudo-file that reports a size it does not hold is
// read to its end.
#include "files/input_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace sipo {
namespace {

namespace fs = std::filesystem;

// Reads to the end: the bytes, or nothing when a read failed.
std::optional<std::string> ReadAll(InputFile& file) {
  std::string bytes;
  char block[7];
  for (;;) {
    const std::ptrdiff_t count = file.Read(block, sizeof block);
    if (count < 0) return std::nullopt;
    if (count == 0) return bytes;
    bytes.append(block, static_cast<std::size_t>(count));
  }
}

// Each change says what it altered: the size, the modification time, or both.
TEST(InputFile, AFileChangedDuringTheReadFails) {
  test::TempFolder folder;
  const fs::path path = folder.Path() / "in.txt";
  struct Case {
    const char* name;
    const char* rewrite;  // the bytes written over the start, or nullptr
    int seconds;          // the modification time moved by this much
    bool size, time;
  };
  const Case cases[] = {
      {"unchanged", nullptr, 0, false, false},
      {"grown, its time kept", "1234567897\r\nx\r\nmore\r\n", 0, true, false},
      {"rewritten to the same size", "9876543213", 2, false, true},
      {"touched alone", nullptr, 2, false, true},
      {"grown and a new time", "1234567897\r\nx\r\nmore\r\n", 2, true, true},
  };
  for (const Case& c : cases) {
    folder.Write("in.txt", "1234567897\r\nx\r\n");
    const auto time = fs::last_write_time(path);
    InputFile file;
    ASSERT_TRUE(file.Open(path));
    char first[4];
    ASSERT_EQ(file.Read(first, sizeof first), 4);
    if (c.rewrite != nullptr)
      std::fstream(path, std::ios::binary | std::ios::in | std::ios::out) << c.rewrite;
    fs::last_write_time(path, time + std::chrono::seconds(c.seconds));
    const bool read = ReadAll(file).has_value();
    EXPECT_EQ(read, !c.size && !c.time) << c.name;
    EXPECT_EQ(file.Changed(), c.size || c.time) << c.name;
    EXPECT_EQ(file.WhatChanged().size, c.size) << c.name;
    EXPECT_EQ(file.WhatChanged().time, c.time) << c.name;
  }
}

#ifndef _WIN32
TEST(InputFile, APseudoFileIsReadToItsEnd) {
  InputFile file;
  ASSERT_TRUE(file.Open("/proc/self/status"));
  const auto bytes = ReadAll(file);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_NE(bytes->find("Pid:"), std::string::npos);
  EXPECT_FALSE(file.Changed());
  EXPECT_EQ(file.Size(), -1);
}

TEST(InputFile, AClosedStandardInputCannotBeOpened) {
  const int saved = dup(0);
  ASSERT_GE(saved, 0);
  close(0);
  InputFile closed;
  const bool opened = closed.OpenStandardInput();
  dup2(saved, 0);
  close(saved);
  EXPECT_FALSE(opened);
  InputFile open;
  EXPECT_TRUE(open.OpenStandardInput());
}
#endif

}  // namespace
}  // namespace sipo
