#include "platform/FileMove.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>

#include "platform/PosixFileSystem.h"
#include "platform/TextFile.h"
#include "tests/support/TempTree.h"

namespace tessaly {
namespace {

TEST(FileMoveTest, NeverReplacesAnExistingFile) {
  test::TempTree tree;
  tree.Write("a", "picture");
  tree.Write("b", "other");
  std::error_code error = MoveWithoutReplacing(tree.PathOf("a"), tree.PathOf("b"));
  EXPECT_EQ(error, std::errc::file_exists);
  EXPECT_EQ(tree.Read("a"), "picture");
  EXPECT_EQ(tree.Read("b"), "other");
}

TEST(FileMoveTest, MovesWithinAndIntoDirectories) {
  struct Case {
    const char* from;
    const char* to;
  };
  const Case cases[] = {{"a", "renamed"}, {"renamed", "sub/inside"}, {"sub/inside", "back"}};
  test::TempTree tree;
  tree.Write("a", "picture");
  tree.MakeDirectory("sub");
  for (const Case& c : cases) {
    EXPECT_FALSE(MoveWithoutReplacing(tree.PathOf(c.from), tree.PathOf(c.to))) << c.to;
    EXPECT_FALSE(tree.IsFile(c.from));
    EXPECT_EQ(tree.Read(c.to), "picture");
  }
}

TEST(FileMoveTest, ReportsTheReasonOfAFailure) {
  test::TempTree tree;
  tree.Write("a", "picture");
  tree.Write("file", "x");
  const std::pair<const char*, std::errc> cases[] = {
      {"missing/b", std::errc::no_such_file_or_directory},
      {"file/b", std::errc::not_a_directory},
  };
  for (const auto& [to, reason] : cases) {
    EXPECT_EQ(MoveWithoutReplacing(tree.PathOf("a"), tree.PathOf(to)), reason) << to;
    EXPECT_EQ(tree.Read("a"), "picture");
  }
  EXPECT_EQ(MoveWithoutReplacing(tree.PathOf("gone"), tree.PathOf("b")),
            std::errc::no_such_file_or_directory);
}

TEST(FileMoveTest, ReplacingMoveReplaces) {
  test::TempTree tree;
  tree.Write("a", "new");
  tree.Write("b", "old");
  EXPECT_FALSE(MoveReplacingTarget(tree.PathOf("a"), tree.PathOf("b")));
  EXPECT_EQ(tree.Read("b"), "new");
}

TEST(PosixFileSystemTest, CreateDirectoryAcceptsAnExistingDirectoryOnly) {
  test::TempTree tree;
  tree.Write("file", "x");
  PosixFileSystem fs;
  EXPECT_FALSE(fs.CreateDirectory(tree.PathOf("new")));
  EXPECT_FALSE(fs.CreateDirectory(tree.PathOf("new")));
  EXPECT_EQ(fs.CreateDirectory(tree.PathOf("file")), std::errc::not_a_directory);
  EXPECT_EQ(fs.CreateDirectory(tree.PathOf("a/b")), std::errc::no_such_file_or_directory);
}

TEST(PosixFileSystemTest, ListsEntriesWithTheirTypes) {
  test::TempTree tree;
  tree.Write("f.JPG", "x");
  tree.MakeDirectory("d");
  ASSERT_EQ(symlink("f.JPG", tree.PathOf("l").c_str()), 0);
  PosixFileSystem fs;
  auto cursor = fs.OpenDirectory(tree.Root());
  ASSERT_TRUE(cursor.ok());
  std::map<std::string, EntryType> seen;
  DirectoryEntry entry;
  while (cursor.value()->Next(entry).value())
    seen[entry.name] = entry.type;
  EXPECT_EQ(seen["f.JPG"], EntryType::Regular);
  EXPECT_EQ(seen["d"], EntryType::Directory);
  EXPECT_EQ(seen["l"], EntryType::Symlink);
  EXPECT_EQ(fs.OpenDirectory(tree.PathOf("nope")).error(), std::errc::no_such_file_or_directory);
}

TEST(TextFileTest, EveryLineIsInTheFileAsSoonAsItIsWritten) {
  test::TempTree tree;
  TextFile file;
  ASSERT_FALSE(file.Create(tree.PathOf("list")));
  ASSERT_FALSE(file.Write("one\r\n"));
  EXPECT_EQ(tree.Read("list"), "one\r\n");
  ASSERT_FALSE(file.Write("two\r\n"));
  EXPECT_EQ(tree.Read("list"), "one\r\ntwo\r\n");
  file.Close();
  ASSERT_FALSE(file.Create(tree.PathOf("list")));
  EXPECT_EQ(tree.Read("list"), "") << "created afresh, emptied";
}

}  // namespace
}  // namespace tessaly
