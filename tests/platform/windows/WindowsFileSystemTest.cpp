#include "platform/windows/WindowsFileSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows/WideText.h"
#include "tests/support/TempTree.h"
#include "tests/support/WindowsCalls.h"

namespace tessaly {
namespace {

// Every name Windows can list converts to UTF-8 and back unchanged, a
// surrogate without its pair too (NTFS allows one, UTF-8 has none); text
// that is not UTF-8 is refused, never guessed at.
TEST(WindowsFileSystemTest, NamesConvertBothWaysWholeAndBadTextIsRefused) {
  const std::wstring names[] = {L"IMG_0001.JPG", L"\u76f8\u7247", L"\u00c9t\u00e9", L"\U0001F305",
                                L"x\xD800y",     L"\xDC00",       L"\xD83C"};
  for (const std::wstring& name : names)
    EXPECT_EQ(WideFromUtf8(Utf8FromWide(name)), name) << Utf8FromWide(name);
  EXPECT_EQ(Utf8FromWide(L"\U0001F305"), "\xF0\x9F\x8C\x85");
  // Overlong forms of "/" in two, three and four bytes; a cut sequence; past
  // U+10FFFF; a stray continuation byte; a byte no UTF-8 has.
  const char* notUtf8[] = {"\xC0\xAF", "\xE0\x80\xAF",     "\xF0\x80\x80\xAF",
                           "\xE6\x97", "\xF4\x90\x80\x80", "\x80",
                           "a\xFF"};
  for (const char* text : notUtf8)
    EXPECT_FALSE(WideFromUtf8(text).has_value()) << text;
}

// A path reaches the wide calls absolute, with "\" only, and with the
// prefix that lifts the 260-character limit (which Wine does not enforce, so
// only this shows that it is there).
TEST(WindowsFileSystemTest, PathsReachWindowsWholeAndWithoutALengthLimit) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"C:\\Photos\\IMG.JPG", L"\\\\?\\C:\\Photos\\IMG.JPG"},
      {"C:/Photos/card/../IMG.JPG", L"\\\\?\\C:\\Photos\\IMG.JPG"},
      {"\\\\nas\\photos\\IMG.JPG", L"\\\\?\\UNC\\nas\\photos\\IMG.JPG"},
      {"\\\\?\\C:\\already", L"\\\\?\\C:\\already"},
  };
  for (const auto& [path, wide] : cases)
    EXPECT_EQ(WidePath(path).value(), wide) << path;
  const std::wstring relative = WidePath("IMG.JPG").value();
  EXPECT_TRUE(relative.starts_with(L"\\\\?\\") && relative.ends_with(L"\\IMG.JPG") &&
              relative.find(L'/') == std::wstring::npos)
      << Utf8FromWide(relative);
}

// Links and junctions are never entered; other reparse points are files.
// (Wine makes no reparse points, so the listing cannot show one here.)
TEST(WindowsFileSystemTest, OnlyReparsePointsThatStandForAnotherNameAreLinks) {
  constexpr unsigned long kDirectory = FILE_ATTRIBUTE_DIRECTORY,
                          kReparse = FILE_ATTRIBUTE_REPARSE_POINT;
  const struct {
    const char* why;
    unsigned long attributes, tag;
    EntryType type;
  } cases[] = {
      {"a junction", kDirectory | kReparse, IO_REPARSE_TAG_MOUNT_POINT, EntryType::Symlink},
      {"a symbolic link to a directory", kDirectory | kReparse, IO_REPARSE_TAG_SYMLINK,
       EntryType::Symlink},
      {"a symbolic link to a file", kReparse, IO_REPARSE_TAG_SYMLINK, EntryType::Symlink},
      {"a cloud placeholder", kReparse, 0x9000601A, EntryType::Regular},
      {"a deduplicated file", kReparse, IO_REPARSE_TAG_DEDUP, EntryType::Regular},
      {"a cloud directory", kDirectory | kReparse, 0x9000701A, EntryType::Directory},
      {"a plain directory", kDirectory, 0, EntryType::Directory},
      {"a read-only hidden file", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, 0,
       EntryType::Regular},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowsEntryType(c.attributes, c.tag), c.type) << c.why;
}

// What the file system refuses, and the reason it gives.
TEST(WindowsFileSystemTest, RefusalsComeWithTheirReasons) {
  test::TempTree tree;
  tree.Write("a.JPG", "aa");
  tree.Write("b.JPG", "bbb");
  tree.Write("held.JPG", "h");
  tree.MakeDirectory("d");
  WindowsFileSystem fs;
  std::shared_ptr<void> held = test::HoldWithoutSharing(tree.PathOf("held.JPG"));
  auto list = fs.OpenAppendFile(tree.PathOf("list.txt"), AppendMode::Mapped);
  ASSERT_TRUE(list.ok());
  auto error = [](auto result) {
    if constexpr (std::is_same_v<decltype(result), std::error_code>) {
      return result;
    } else {
      return result.error();
    }
  };
  const std::string r = tree.Root();
  const struct {
    const char* why;
    std::error_code got, expected;
  } cases[] = {
      {"a move onto a file", fs.MoveNoReplace(r + "a.JPG", r + "b.JPG"),
       std::make_error_code(std::errc::file_exists)},
      {"a move from nowhere", fs.MoveNoReplace(r + "x.JPG", r + "y.JPG"),
       std::make_error_code(std::errc::no_such_file_or_directory)},
      {"a file that another program holds",
       error(fs.OpenForReading(r + "held.JPG", FileKinds::RegularOnly)),
       make_error_code(FsError::HeldByAnotherProgram)},
      {"a directory read as a picture", error(fs.OpenForReading(r + "d", FileKinds::RegularOnly)),
       make_error_code(FsError::NotRegularFile)},
      {"a directory kept as a list", error(fs.OpenAppendFile(r + "d", AppendMode::Written)),
       make_error_code(FsError::NotRegularFile)},
      {"a list another run holds", error(fs.OpenAppendFile(r + "list.txt", AppendMode::Written)),
       make_error_code(FsError::InUse)},
      {"a directory of a file's name", fs.CreateDirectory(r + "a.JPG"),
       std::make_error_code(std::errc::not_a_directory)},
      {"a directory that is there", fs.CreateDirectory(r + "d"), {}},
      {"a path that is not UTF-8",
       error(fs.StatusOf(r + "\xC0\xAF.JPG", SymbolicLinks::NotFollowed)),
       std::make_error_code(std::errc::invalid_argument)},
      {"a directory with a file in it", (tree.Write("d/c.JPG", "c"), fs.RemoveDirectory(r + "d")),
       std::make_error_code(std::errc::directory_not_empty)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.got, c.expected) << c.why << ": " << c.got.message();
  EXPECT_EQ(tree.Read("a.JPG") + tree.Read("b.JPG"), "aabbb") << "nothing replaced";
  EXPECT_FALSE(fs.MoveReplacing(r + "a.JPG", r + "b.JPG"));
  EXPECT_EQ(tree.Read("b.JPG"), "aa") << "replaced after a yes";
}

}  // namespace
}  // namespace tessaly
