#include "platform/posix/FileMove.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <map>

#include "platform/ProgramLocation.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/support/TempTree.h"

namespace tessaly {
namespace {

using Files = std::map<std::string, std::string>;

// A move told which file was opened from its path renames that very file,
// where its directory now is, when it is the file's only link; otherwise the
// path is looked up as for any move, and another file found there is put back.
TEST(FileMoveTest, AMoveOfTheFileOpenedFromThePathFindsItsDirectoryByTheFile) {
  const struct {
    const char* why;
    bool opensSecond, secondLink;
    Files expected;
    std::error_code error;
  } cases[] = {
      {"the file read moved away with its directory",
       false,
       false,
       {{"d/x", "2"}, {"e/z", "1"}},
       {}},
      {"the file read is the new one at the path", true, false, {{"d/z", "2"}, {"e/x", "1"}}, {}},
      {"a file with a second link: another is put back",
       false,
       true,
       {{"d/x", "2"}, {"e/x", "1"}},
       FsError::ReplacedSinceRead},
  };
  for (const auto& c : cases) {
    test::TempTree tree, elsewhere;
    tree.Write("d/w", "1");
    if (c.secondLink) std::filesystem::create_hard_link(tree.PathOf("d/w"), elsewhere.PathOf("w"));
    MoveDirectories kept;  // d is kept open by a first move
    ASSERT_FALSE(MoveWithoutReplacing(tree.PathOf("d/w"), tree.PathOf("d/x"), kept));
    struct stat first, second;
    stat(tree.PathOf("d/x").c_str(), &first);
    std::filesystem::rename(tree.PathOf("d"), tree.PathOf("e"));  // another d takes its place
    tree.Write("d/x", "2");
    stat(tree.PathOf("d/x").c_str(), &second);
    const struct stat& opened = c.opensSecond ? second : first;
    const FileIdentity file{opened.st_dev, opened.st_ino};
    EXPECT_EQ(MoveWithoutReplacing(tree.PathOf("d/x"), tree.PathOf("d/z"), kept,
                                   MoveCalls::System(), &file),
              c.error)
        << c.why;
    EXPECT_EQ(tree.Files(), c.expected) << c.why;
  }
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
