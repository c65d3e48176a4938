#include "engine/DirectoryWalk.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "tests/support/EngineHarness.h"
#include "tests/support/FaultyFileSystem.h"

namespace tessaly {
namespace {

using test::Pic;

TEST(DirectoryWalkTest, PictureNamesEndInJpgInAnyCase) {
  const std::pair<const char*, bool> cases[] = {
      {"IMG_0001.JPG", true},
      {"img_0002.jpg", true},
      {"P1010003.Jpg", true},
      {"photojpg", true},
      {"JPG", true},
      {".hidden.JPG", true},
      {"IMG_0004.JPEG", false},
      {"IMG_0005.JPE", false},
      {"IMG_0006.JPG.BAK", false},
      {"PG", false},
      {"G", false},
      {"", false},
  };
  for (const auto& [name, picture] : cases) {
    EXPECT_EQ(DirectoryWalk::IsPictureName(name), picture) << name;
  }
}

using WalkFixture = test::EngineFixture;

TEST(DirectoryWalkTest, FilesFirstThenSubDirectoriesDepthFirst) {
  WalkFixture f;
  f.tree.Write("a.JPG", Pic("2001:01:01 01:01:01"));
  f.tree.Write("sub1/b.JPG", Pic("2002:02:02 02:02:02"));
  f.tree.Write("sub1/deep/c.JPG", Pic("2003:03:03 03:03:03"));
  f.tree.Write("sub2/d.JPG", Pic("2004:04:04 04:04:04"));
  f.tree.Write(".hidden/e.JPG", Pic("2005:05:05 05:05:05"));
  f.tree.Write("notes.txt", "not a picture");
  f.Run();
  const std::string r = f.tree.Root();
  EXPECT_EQ(f.frontEnd.directories,
            (std::vector<std::string>{r, r + "sub1/", r + "sub1/deep/", r + "sub2/"}));
  EXPECT_LT(f.EventIndex("picture a.JPG 2001-01-01-010101.JPG"),
            f.EventIndex("dir " + r + "sub1/"));
  EXPECT_LT(f.EventIndex("picture c.JPG 2003-03-03-030303.JPG"),
            f.EventIndex("dir " + r + "sub2/"));
  EXPECT_TRUE(f.tree.IsFile(".hidden/e.JPG")) << "hidden directories are not entered";
  EXPECT_TRUE(f.tree.IsFile("notes.txt"));
  EXPECT_EQ(f.run.RenameCount(), 4);
}

TEST(DirectoryWalkTest, EmptyDirectoryOnlyShowsItself) {
  WalkFixture f;
  f.Run();
  EXPECT_EQ(f.frontEnd.events, (std::vector<std::string>{"dir " + f.tree.Root(), "handover"}));
}

TEST(DirectoryWalkTest, HiddenPicturesAreHandled) {
  WalkFixture f;
  f.tree.Write(".IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  f.Run();
  EXPECT_TRUE(f.tree.IsFile("2001-01-01-010101.JPG"));
}

TEST(DirectoryWalkTest, DirectoryWithPictureNameIsEnteredNotRenamed) {
  WalkFixture f;
  f.tree.Write("album.JPG/IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  f.Run();
  EXPECT_TRUE(f.tree.IsDirectory("album.JPG"));
  EXPECT_TRUE(f.tree.IsFile("album.JPG/2001-01-01-010101.JPG"));
  EXPECT_TRUE(f.frontEnd.problems.empty());
}

TEST(DirectoryWalkTest, LinksAreNeitherRenamedNorEntered) {
  WalkFixture f;
  f.tree.Write("real/IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  ASSERT_EQ(symlink(f.tree.PathOf("real").c_str(), f.tree.PathOf("link").c_str()), 0);
  ASSERT_EQ(symlink(f.tree.PathOf("real/IMG_0001.JPG").c_str(), f.tree.PathOf("pic.JPG").c_str()),
            0);
  f.Run();
  const std::string r = f.tree.Root();
  EXPECT_EQ(f.frontEnd.directories, (std::vector<std::string>{r, r + "real/"}));
  EXPECT_TRUE(f.tree.IsFile("real/2001-01-01-010101.JPG"));
  EXPECT_TRUE(f.frontEnd.HasProblem(ProblemKind::LinkNotFollowed));
  EXPECT_TRUE(f.frontEnd.HasProblem(ProblemKind::NotRegularFile));
  EXPECT_EQ(f.run.RenameCount(), 1);
}

TEST(DirectoryWalkTest, DateDirectoriesMadeDuringTheRunAreWalkedInIt) {
  WalkFixture f;
  f.frontEnd.options.DateDirectories = true;
  f.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  f.tree.Write("IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
  test::HarnessRun result = f.Run();
  const std::string r = f.tree.Root();
  EXPECT_EQ(f.frontEnd.directories,
            (std::vector<std::string>{r, r + "2001-01-01/", r + "2002-02-02/"}));
  EXPECT_EQ(f.run.RenameCount(), 4) << "each moved picture is counted again in its date directory";
  EXPECT_EQ(result.lines.size(), 4u);
}

}  // namespace
}  // namespace tessaly
