#include "engine/DirectoryWalk.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using test::Lines;
using test::Pic;

TEST(DirectoryWalkTest, PictureNamesEndInJpgInAnyLetterCase) {
  for (const char* name : {"IMG_0001.JPG", "img.jpg", "P1.Jpg", "photojpg", "JPG", ".hidden.JPG"}) {
    EXPECT_TRUE(DirectoryWalk::IsPictureName(name)) << name;
  }
  for (const char* name : {"IMG_0004.JPEG", "IMG_0006.JPG.BAK", "PG", ""}) {
    EXPECT_FALSE(DirectoryWalk::IsPictureName(name)) << name;
  }
}

TEST(DirectoryWalkTest, PicturesFirstThenSubDirectoriesDepthFirstHiddenOnesLeft) {
  test::EngineFixture f({{"sub1/deep/c.JPG", Pic("2003:03:03 03:03:03")},
                         {"sub2/d.JPG", Pic("2004:04:04 04:04:04")},
                         {"a.JPG", Pic("2001:01:01 01:01:01")},
                         {".hidden/e.JPG", Pic("2005:05:05 05:05:05")},
                         {".f.JPG", Pic("2006:06:06 06:06:06")},
                         {"album.JPG/g.JPG", Pic("2007:07:07 07:07:07")}});
  EXPECT_EQ(f.Run(), Lines({".f.JPG--->2006-06-06-060606.JPG", "a.JPG--->2001-01-01-010101.JPG",
                            "album.JPG/g.JPG--->album.JPG/2007-07-07-070707.JPG",
                            "sub1/deep/c.JPG--->sub1/deep/2003-03-03-030303.JPG",
                            "sub2/d.JPG--->sub2/2004-04-04-040404.JPG"}));
  EXPECT_TRUE(f.frontEnd.problems.empty());
}

TEST(DirectoryWalkTest, AnEmptyDirectoryOnlyShowsItself) {
  test::EngineFixture f;
  f.Run();
  EXPECT_EQ(f.frontEnd.events, Lines({"dir " + f.tree.Root(), "handover"}));
}

TEST(DirectoryWalkTest, LinksAreNeitherRenamedNorEntered) {
  test::EngineFixture f({{"real/IMG.JPG", Pic("2001:01:01 01:01:01")}});
  ASSERT_EQ(symlink(f.tree.PathOf("real").c_str(), f.tree.PathOf("link").c_str()), 0);
  ASSERT_EQ(symlink(f.tree.PathOf("real/IMG.JPG").c_str(), f.tree.PathOf("pic.JPG").c_str()), 0);
  EXPECT_EQ(f.Run(), Lines({"real/IMG.JPG--->real/2001-01-01-010101.JPG"}));
  EXPECT_EQ(f.frontEnd.directories, Lines({f.tree.Root(), f.tree.PathOf("real/")}));
  EXPECT_EQ(f.frontEnd.ProblemKinds(),
            std::vector({ProblemKind::NotRegularFile, ProblemKind::LinkNotFollowed}));
}

TEST(DirectoryWalkTest, DateDirectoriesMadeDuringTheRunAreWalkedInIt) {
  test::EngineFixture f(
      {{"1.JPG", Pic("2001:01:01 01:01:01")}, {"2.JPG", Pic("2002:02:02 02:02:02")}},
      {true, false, false});
  EXPECT_EQ(f.Run().size(), 4u) << "each moved picture is listed again in its date directory";
  const std::string r = f.tree.Root();
  EXPECT_EQ(f.frontEnd.directories, Lines({r, r + "2001-01-01/", r + "2002-02-02/"}));
}

}  // namespace
}  // namespace tessaly
