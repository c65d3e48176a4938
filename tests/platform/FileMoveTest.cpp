#include "platform/FileMove.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <map>

#include "platform/PosixFileSystem.h"
#include "platform/ProgramLocation.h"
#include "tests/support/TempTree.h"

namespace tessaly {
namespace {

using Files = std::map<std::string, std::string>;

TEST(FileMoveTest, MovesWithoutReplacingNorFollowingALinkAndSaysWhyNot) {
  test::TempTree tree;
  tree.Write("a", "picture");
  tree.Write("taken", "other");
  tree.Write("dir/x", "");
  ASSERT_EQ(symlink(tree.PathOf("dir").c_str(), tree.PathOf("link").c_str()), 0);
  MoveDirectories directories;
  const std::pair<const char*, std::error_code> cases[] = {
      {"taken", std::make_error_code(std::errc::file_exists)},
      {"missing/b", std::make_error_code(std::errc::no_such_file_or_directory)},
      {"taken/b", std::make_error_code(std::errc::not_a_directory)},
      {"link/b", make_error_code(FsError::SymbolicLink)},
      {"renamed", {}},
  };
  for (const auto& [to, error] : cases) {
    EXPECT_EQ(MoveWithoutReplacing(tree.PathOf("a"), tree.PathOf(to), directories), error) << to;
  }
  EXPECT_EQ(tree.Files(), (Files{{"dir/x", ""}, {"renamed", "picture"}, {"taken", "other"}}));
  EXPECT_FALSE(MoveReplacingTarget(tree.PathOf("renamed"), tree.PathOf("taken"), directories));
  EXPECT_EQ(tree.Files(), (Files{{"dir/x", ""}, {"taken", "picture"}}));
}

TEST(FileMoveTest, AKeptDirectoryServesItsPathOnlyWhileItStandsThere) {
  test::TempTree tree;
  tree.Write("d/x", "first");
  MoveDirectories kept;
  EXPECT_FALSE(MoveWithoutReplacing(tree.PathOf("d/x"), tree.PathOf("d/y"), kept));
  std::filesystem::rename(tree.PathOf("d"), tree.PathOf("e"));  // another d takes its place
  tree.Write("d/x", "second");
  EXPECT_FALSE(MoveWithoutReplacing(tree.PathOf("d/x"), tree.PathOf("d/z"), kept));
  EXPECT_EQ(tree.Files(), (Files{{"d/z", "second"}, {"e/y", "first"}}));
}

TEST(FileMoveTest, WithoutRenameNoReplaceOrLinksTheNameIsReservedFirst) {
  for (bool otherProgramComes : {false, true}) {
    test::TempTree tree;
    tree.Write("a", "picture");
    MoveCalls calls = MoveCalls::System();
    calls.renameNoReplace = [](int, const char*, int, const char*) { return errno = EINVAL, -1; };
    calls.link = [](int, const char*, int, const char*) { return errno = EPERM, -1; };
    calls.createExclusive = [&](int dir, const char* name) {
      if (otherProgramComes) tree.Write("b", "arrived just now");
      return MoveCalls::System().createExclusive(dir, name);
    };
    MoveDirectories directories;
    std::error_code error =
        MoveWithoutReplacing(tree.PathOf("a"), tree.PathOf("b"), directories, calls);
    EXPECT_EQ(error,
              otherProgramComes ? std::make_error_code(std::errc::file_exists) : std::error_code{});
    Files expected = {{"b", "picture"}};
    if (otherProgramComes) expected = {{"a", "picture"}, {"b", "arrived just now"}};
    EXPECT_EQ(tree.Files(), expected);
  }
}

TEST(PosixFileSystemTest, ListsAndLooksUpWithoutFollowingLinks) {
  test::TempTree tree;
  tree.Write("f.JPG", "12345");
  tree.MakeDirectory("d");
  ASSERT_EQ(symlink("f.JPG", tree.PathOf("l").c_str()), 0);
  ASSERT_EQ(symlink("d", tree.PathOf("ld").c_str()), 0);
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
                                                      {"l", EntryType::Symlink},
                                                      {"ld", EntryType::Symlink}}));
  EXPECT_EQ(fs.StatusOf(tree.PathOf("l"), false)->type, EntryType::Symlink);
  EXPECT_EQ(fs.StatusOf(tree.PathOf("l"), true)->size, 5u);
  EXPECT_FALSE(fs.CreateDirectory(tree.PathOf("d")));
  EXPECT_EQ(fs.CreateDirectory(tree.PathOf("ld")), FsError::SymbolicLink);
  EXPECT_EQ(fs.CreateDirectory(tree.PathOf("f.JPG")), std::errc::not_a_directory);
}

TEST(PosixFileSystemTest, AnAppendFileIsARegularFileOfOneRunAtATime) {
  for (AppendMode mode : {AppendMode::Written, AppendMode::Mapped}) {
    test::TempTree tree;
    tree.Write("target", "kept");
    ASSERT_EQ(symlink(tree.PathOf("target").c_str(), tree.PathOf("link").c_str()), 0);
    ASSERT_EQ(mkfifo(tree.PathOf("fifo").c_str(), 0644), 0);
    PosixFileSystem fs;
    EXPECT_EQ(fs.OpenAppendFile(tree.PathOf("link"), mode).error(), FsError::SymbolicLink);
    EXPECT_EQ(fs.OpenAppendFile(tree.PathOf("fifo"), mode).error(), FsError::NotRegularFile);
    EXPECT_EQ(fs.OpenForReading(tree.PathOf("fifo"), true).error(), FsError::NotRegularFile);
    auto file = fs.OpenAppendFile(tree.PathOf("list"), mode);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(fs.OpenAppendFile(tree.PathOf("list"), mode).error(), FsError::InUse);
    // In the file as soon as it is written; a mapped file may hold NULs past it.
    auto holds = [&](const std::string& text) {
      std::string content = tree.Read("list");
      return content.starts_with(text) &&
             content.find_first_not_of('\0', text.size()) == std::string::npos &&
             (mode == AppendMode::Mapped || content.size() == text.size());
    };
    ASSERT_FALSE(file.value()->Append("one\r\ntwo\r\n"));
    EXPECT_TRUE(holds("one\r\ntwo\r\n"));
    ASSERT_FALSE(file.value()->Truncate(5));
    ASSERT_FALSE(file.value()->Append("2\r\n"));
    EXPECT_TRUE(holds("one\r\n2\r\n"));
    std::string block(1 << 20, 'x');  // past the first reserved room
    ASSERT_FALSE(file.value()->Append(block));
    std::array<char, 8> back{};
    ASSERT_EQ(file.value()->ReadAt(3, back).value(), 8u);
    EXPECT_EQ(std::string(back.data(), 8), "\r\n2\r\nxxx");
    EXPECT_EQ(file.value()->ReadAt((1 << 20) + 8, back).value(), 0u) << "nothing past the end";
    ASSERT_FALSE(file.value()->Close());
    EXPECT_EQ(tree.Read("list"), "one\r\n2\r\n" + block) << "closed, the file is exact";
    EXPECT_TRUE(fs.OpenAppendFile(tree.PathOf("list"), mode).ok()) << "the lock goes with the run";
    EXPECT_EQ(tree.Read("target"), "kept");
  }
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
