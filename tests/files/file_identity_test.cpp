// Tests of which names reach one file: existing files by their identity, names not made yet by
// their folder's identity and their last name as the file system compares names; and an output
// written through a descriptor that is on the input's own file.
#include "files/file_identity.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/descriptor.h"
#include "files/output_target.h"
#include "tests/support/temp_folder.h"

namespace sipo {
namespace {

namespace fs = std::filesystem;

// Each pair of names in a folder that holds out.txt and sub/; a name beginning "\\?\" or "\\.\"
// stands for the prefix and the full path.
TEST(FileIdentity, PairsOfNames) {
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    bool same;
  };
  const Case cases[] = {
      {L"out.txt", L"out.txt", true},
      {L"out.txt", L"sub/../out.txt", true},
      {L"new.txt", L"sub/../new.txt", true},
      {L"new.txt", L"./new.txt", true},
      {L"new.txt", L"new2.txt", false},
      {L"new.txt", L"sub/new.txt", false},
      {L"out.txt", L"new.txt", false},
#ifdef _WIN32
      {L"new.txt", L"\\\\?\\new.txt", true},
      {L"\\\\.\\new.txt", L"new.txt", true},
      {L"\\\\?\\out.txt", L"OUT.TXT", true},
      {L"nov\u00FD.txt", L"NOV\u00DD.TXT", true},
      {L"\u010Derven\u00FD.txt", L"\u010CERVEN\u00DD.txt", true},
      {L"new.txt", L"new.txt.", true},
      {L"new.txt", L"new.txt ", true},
      {L"new.txt", L"new.txt. .", true},
      {L"out.txt", L"out.txt.", true},
      {L"nov\u00FD.txt", L"novy.txt", false},
#else
      {L"new.txt", L"NEW.txt", false},       {L"new.txt", L"new.txt.", false},
#endif
  };
  test::TempFolder folder;
  folder.Write("out.txt", "old");
  fs::create_directory(folder.Path() / "sub");
  const auto full = [&](std::wstring name) {
    if (name.starts_with(L"\\\\?\\") || name.starts_with(L"\\\\.\\"))
      return fs::path(name.substr(0, 4) + (folder.Path() / name.substr(4)).wstring());
    return folder.Path() / name;
  };
  for (const Case& c : cases) {
    const fs::path a = full(c.a), b = full(c.b);
    EXPECT_EQ(SameFile(TargetOf(a), TargetOf(b)), c.same) << a << " and " << b;
    EXPECT_EQ(SameFile(TargetOf(b), TargetOf(a)), c.same) << b << " and " << a;
  }
  EXPECT_EQ(folder.EntryCount(), 2u);
}

// A descriptor written where it stands is refused when it is on the input, whether the input is
// named or is standard input; a device (the null device, a terminal) never is.
TEST(FileIdentity, ADescriptorOutputOnTheInput) {
  test::TempFolder folder;
  folder.Write("in.txt", "1234567897\r\n");
  folder.Write("other.txt", "");
  fs::create_directory(folder.Path() / "sub");
  const int onInput = OpenToWriteInPlace(folder.Path() / "in.txt");
  const int onOther = OpenToWriteInPlace(folder.Path() / "other.txt");
  ASSERT_GE(onInput, 0);
  ASSERT_GE(onOther, 0);
  const OutputTarget intoInput{OutputTarget::Kind::Descriptor, {}, onInput};
  const OutputTarget intoOther{OutputTarget::Kind::Descriptor, {}, onOther};
  EXPECT_TRUE(WritesIntoInput(intoInput, folder.Path() / "in.txt"));
  EXPECT_TRUE(WritesIntoInput(intoInput, folder.Path() / "sub" / ".." / "in.txt"));
  EXPECT_FALSE(WritesIntoInput(intoOther, folder.Path() / "in.txt"));
  // A file replaced by its name is written apart from the input and may be the input.
  EXPECT_FALSE(WritesIntoInput(TargetOf(folder.Path() / "in.txt"), folder.Path() / "in.txt"));
  EXPECT_TRUE(SameFile(intoInput, TargetOf(folder.Path() / "in.txt")));
#ifdef _WIN32
  const int device = OpenToWriteInPlace("NUL");
#else
  const int device = OpenToWriteInPlace("/dev/null");
  EXPECT_FALSE(WritesIntoInput(intoOther, {}));  // standard input is not other.txt
#endif
  ASSERT_GE(device, 0);
  EXPECT_FALSE(
      WritesIntoInput(OutputTarget{OutputTarget::Kind::Descriptor, {}, device}, folder.Path()));
  for (const int fd : {onInput, onOther, device}) CloseDescriptor(fd);
}

}  // namespace
}  // namespace sipo
