#include "engine/RenameRun.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using test::Lines;
using test::Pic;

TEST(RenameRunTest, EachRunMakesAFreshListAndTheCountGoesOn) {
  test::EngineFixture f(
      {{"a/1.JPG", Pic("2001:01:01 01:01:01")}, {"b/2.JPG", Pic("2002:02:02 02:02:02")}});
  f.Run(f.tree.PathOf("a"));
  EXPECT_EQ(f.Run(f.tree.PathOf("b")), Lines({"b/2.JPG--->b/2002-02-02-020202.JPG"}));
  EXPECT_EQ(f.run.RenameCount(), 2);
  EXPECT_EQ(f.frontEnd.events.end()[-2], "count 2");
}

TEST(RenameRunTest, RunsThatCannotStartTouchNothing) {
  test::TempTree tree, beside;
  tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  // clang-format off
  const struct { const char* why; std::string directory, list, journals; RunStatus status; } cases[] = {
      {"nothing chosen", "", tree.PathOf("list"), "", RunStatus::NothingSelected},
      {"a missing directory", tree.PathOf("nope"), tree.PathOf("list"), "", RunStatus::DirectoryMissing},
      {"a file, not a directory", tree.PathOf("IMG_0001.JPG"), tree.PathOf("list"), "", RunStatus::DirectoryMissing},
      {"the list in a missing directory", tree.Root(), tree.PathOf("nope/list"), "", RunStatus::ListNotCreated},
      {"no journal can be kept", tree.Root(), beside.PathOf("list"), beside.PathOf("list/journals"), RunStatus::ListNotCreated},
  };
  // clang-format on
  for (const auto& c : cases) {
    test::FaultyFileSystem fs;
    test::RecordingFrontEnd frontEnd;
    RunOutcome outcome =
        RenameRun(fs, frontEnd).StartRun(c.directory, RenameListPlace{c.list, "", "", c.journals});
    EXPECT_EQ(outcome.status, c.status) << c.why;
    EXPECT_EQ(tree.Files().size(), 1u) << c.why;
    EXPECT_TRUE(frontEnd.events.empty()) << c.why;
    EXPECT_EQ(outcome.reason.empty(), c.status == RunStatus::NothingSelected) << c.why;
  }
}

TEST(RenameRunTest, TheListGoesToTheStateDirectoryWhenTheProgramsIsNotWritable) {
  test::EngineFixture f({{"IMG_0001.JPG", Pic("2001:01:01 01:01:01")}});
  RenameListPlace place{"", f.listDir.PathOf("no-such-dir"), f.listDir.PathOf("state/tessaly"), ""};
  EXPECT_EQ(f.run.StartRun(f.tree.Root(), place).renameListPath,
            f.listDir.PathOf("state/tessaly/Rename_List.TXT"));
  EXPECT_EQ(test::ListLines(f.listDir.Read("state/tessaly/Rename_List.TXT"), f.tree.Root()),
            Lines({"IMG_0001.JPG--->2001-01-01-010101.JPG"}));
  ASSERT_EQ(symlink("elsewhere", f.listDir.PathOf("Rename_List.TXT").c_str()), 0);
  place.programDirectory = f.listDir.Root();  // a list refused there is not passed over
  EXPECT_EQ(f.run.StartRun(f.tree.Root(), place).status, RunStatus::ListNotCreated);
  place.programDirectory = f.listDir.PathOf("state");
  EXPECT_EQ(f.run.StartRun(f.tree.Root(), place).renameListPath,
            f.listDir.PathOf("state/Rename_List.TXT"));
}

TEST(RenameRunTest, StopEndsTheRunAfterTheCurrentPicture) {
  test::EngineFixture f({{"1.JPG", Pic("2001:01:01 01:01:01")},
                         {"2.JPG", Pic("2002:02:02 02:02:02")},
                         {"sub/3.JPG", Pic("2003:03:03 03:03:03")}});
  f.frontEnd.stopAfterHandOvers = 2;  // the hand-over after the first picture is shown
  EXPECT_EQ(f.Run("", RunStatus::Stopped), Lines({"1.JPG--->2001-01-01-010101.JPG"}));
  EXPECT_EQ(f.Names(), Lines({"2.JPG", "2001-01-01-010101.JPG", "sub/3.JPG"}));
}

}  // namespace
}  // namespace tessaly
