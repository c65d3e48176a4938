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
