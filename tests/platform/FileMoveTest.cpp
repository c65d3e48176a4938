#include "platform/FileMove.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "platform/PosixFileSystem.h"
#include "platform/ProgramLocation.h"
#include "platform/TextFile.h"
#include "tests/support/TempTree.h"

namespace tessaly {
namespace {

TEST(FileMoveTest, MovesWithoutReplacingAndSaysWhyNot) {
  test::TempTree tree;
  tree.Write("a", "picture");
  tree.Write("taken", "other");
  const std::pair<const char*, std::error_code> cases[] = {
      {"taken", std::make_error_code(std::errc::file_exists)},
      {"missing/b", std::make_error_code(std::errc::no_such_file_or_directory)},
      {"taken/b", std::make_error_code(std::errc::not_a_directory)},
      {"renamed", {}},
  };
  for (const auto& [to, error] : cases) {
    EXPECT_EQ(MoveWithoutReplacing(tree.PathOf("a"), tree.PathOf(to)), error) << to;
  }
  EXPECT_EQ(tree.Files(),
            (std::map<std::string, std::string>{{"renamed", "picture"}, {"taken", "other"}}));
  EXPECT_FALSE(MoveReplacingTarget(tree.PathOf("renamed"), tree.PathOf("taken")));
  EXPECT_EQ(tree.Files(), (std::map<std::string, std::string>{{"taken", "picture"}}));
}

TEST(PosixFileSystemTest, ListsAndLooksUpWithoutFollowingLinks) {
  test::TempTree tree;
  tree.Write("f.JPG", "12345");
  tree.MakeDirectory("d");
  ASSERT_EQ(symlink("f.JPG", tree.PathOf("l").c_str()), 0);
  PosixFileSystem fs;
  std::map<std::string, EntryType> listed;
  auto cursor = fs.OpenDirectory(tree.Root());
  ASSERT_TRUE(cursor.ok());
  for (DirectoryEntry entry; cursor.value()->Next(entry).value();)
    listed[entry.name] = entry.type;
  EXPECT_EQ(listed, (std::map<std::string, EntryType>{{".", EntryType::Directory},
                                                      {"..", EntryType::Directory},
                                                      {"d", EntryType::Directory},
                                                      {"f.JPG", EntryType::Regular},
                                                      {"l", EntryType::Symlink}}));
  EXPECT_EQ(fs.StatusOf(tree.PathOf("l"), false)->type, EntryType::Symlink);
  EXPECT_EQ(fs.StatusOf(tree.PathOf("l"), true)->size, 5u);
  EXPECT_EQ(fs.OpenDirectory(tree.PathOf("nope")).error(), std::errc::no_such_file_or_directory);

  EXPECT_FALSE(fs.CreateDirectory(tree.PathOf("d")));
  EXPECT_EQ(fs.CreateDirectory(tree.PathOf("f.JPG")), std::errc::not_a_directory);
  EXPECT_EQ(fs.CreateDirectory(tree.PathOf("a/b")), std::errc::no_such_file_or_directory);
}

TEST(TextFileTest, EveryLineIsInTheFileAsSoonAsItIsWrittenAndCreateEmptiesIt) {
  test::TempTree tree;
  TextFile file;
  ASSERT_FALSE(file.Create(tree.PathOf("list")));
  ASSERT_FALSE(file.Write("one\r\n"));
  EXPECT_EQ(tree.Read("list"), "one\r\n");
  file.Close();
  ASSERT_FALSE(file.Create(tree.PathOf("list")));
  EXPECT_EQ(tree.Read("list"), "");
}

TEST(ProgramLocationTest, StateDirectoryFollowsTheXdgRules) {
  const struct {
    const char *state, *home, *expected;
  } cases[] = {
      {"/xdg", "/home/me", "/xdg/tessaly"},
      {"relative", "/home/me", "/home/me/.local/state/tessaly"},
      {nullptr, "/home/me", "/home/me/.local/state/tessaly"},
      {nullptr, nullptr, ""},
  };
  for (const auto& c : cases) {
    c.state ? setenv("XDG_STATE_HOME", c.state, 1) : unsetenv("XDG_STATE_HOME");
    c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
    EXPECT_EQ(UserStateDirectory(), c.expected);
  }
}

}  // namespace
}  // namespace tessaly
