#include "engine/RenameRun.h"

#include <gtest/gtest.h>

#include "tests/support/EngineHarness.h"
#include "tests/support/FaultyFileSystem.h"

namespace tessaly {
namespace {

using test::Pic;

using RunFixture = test::EngineFixture;

TEST(RenameRunTest, ListLineIsOldPathArrowNewPathCrLf) {
  RunFixture f;
  f.tree.Write("IMG_0001.JPG", Pic("2009:08:12 12:07:41"));
  test::HarnessRun result = f.Run();
  EXPECT_EQ(result.listBytes, f.tree.PathOf("IMG_0001.JPG") + "--->" +
                                  f.tree.PathOf("2009-08-12-120741.JPG") + "\r\n");
  EXPECT_EQ(result.outcome.renameListPath, f.listDir.PathOf("Rename_List.TXT"));
}

TEST(RenameRunTest, NonAsciiPathsAreWrittenAsTheirOwnBytes) {
  RunFixture f;
  f.tree.Write("\xC3\xA9t\xC3\xA9/IMG.JPG", Pic("2009:08:12 12:07:41", 6000, "", "\xE9"));
  f.frontEnd.options.MakerPrefix = true;
  test::HarnessRun result = f.Run();
  EXPECT_EQ(result.lines,
            (std::vector<std::string>{
                "\xC3\xA9t\xC3\xA9/IMG.JPG--->\xC3\xA9t\xC3\xA9/\xC3\xA9-2009-08-12-120741.JPG"}));
}

TEST(RenameRunTest, NothingUsableLeavesAnEmptyList) {
  RunFixture f;
  f.tree.Write("x.jpg", test::Blob(100));
  test::HarnessRun result = f.Run();
  EXPECT_EQ(result.outcome.status, RunStatus::Completed);
  EXPECT_TRUE(f.listDir.IsFile("Rename_List.TXT"));
  EXPECT_EQ(result.listBytes, "");
}

TEST(RenameRunTest, SecondRunEmptiesTheListAndTheCountGoesOn) {
  RunFixture f;
  f.tree.Write("a/IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  f.tree.Write("b/IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
  f.Run(f.tree.PathOf("a"));
  EXPECT_EQ(f.run.RenameCount(), 1);
  test::HarnessRun second = f.Run(f.tree.PathOf("b"));
  EXPECT_EQ(f.run.RenameCount(), 2);
  EXPECT_EQ(second.lines, (std::vector<std::string>{"b/IMG_0002.JPG--->b/2002-02-02-020202.JPG"}));
  EXPECT_EQ(f.frontEnd.events.back(), "handover");
  EXPECT_NE(std::find(f.frontEnd.events.begin(), f.frontEnd.events.end(), "count 2"),
            f.frontEnd.events.end());
}

TEST(RenameRunTest, RunsThatCannotStartTouchNothing) {
  struct Case {
    const char* name;
    std::string directory;
    std::string listPath;
    RunStatus status;
  };
  test::TempTree tree;
  tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  const Case cases[] = {
      {"EmptySelection", "", tree.PathOf("list.txt"), RunStatus::NothingSelected},
      {"MissingDirectory", tree.PathOf("nope"), tree.PathOf("list.txt"),
       RunStatus::DirectoryMissing},
      {"FileInsteadOfDirectory", tree.PathOf("IMG_0001.JPG"), tree.PathOf("list.txt"),
       RunStatus::DirectoryMissing},
      {"ListInMissingDirectory", tree.Root(), tree.PathOf("nope/list.txt"),
       RunStatus::ListNotCreated},
  };
  for (const Case& c : cases) {
    test::FaultyFileSystem fs;
    test::RecordingFrontEnd frontEnd;
    RenameRun run(fs, frontEnd);
    RenameListPlace place;
    place.explicitPath = c.listPath;
    RunOutcome outcome = run.StartRun(c.directory, place);
    EXPECT_EQ(outcome.status, c.status) << c.name;
    EXPECT_TRUE(tree.IsFile("IMG_0001.JPG")) << c.name;
    EXPECT_FALSE(tree.IsFile("list.txt")) << c.name;
    EXPECT_TRUE(frontEnd.events.empty()) << c.name;
    if (c.status != RunStatus::NothingSelected) {
      EXPECT_FALSE(outcome.reason.empty()) << c.name;
    }
  }
}

TEST(RenameRunTest, ListGoesToTheStateDirectoryWhenTheProgramsIsNotWritable) {
  RunFixture f;
  f.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  RenameListPlace place;
  place.programDirectory = f.listDir.PathOf("no-such-program-dir");
  place.stateDirectory = f.listDir.PathOf("state/tessaly");
  RunOutcome outcome = f.run.StartRun(f.tree.Root(), place);
  EXPECT_EQ(outcome.status, RunStatus::Completed);
  EXPECT_EQ(outcome.renameListPath, f.listDir.PathOf("state/tessaly/Rename_List.TXT"));
  EXPECT_EQ(test::ListLines(f.listDir.Read("state/tessaly/Rename_List.TXT"), f.tree.Root()),
            (std::vector<std::string>{"IMG_0001.JPG--->2001-01-01-010101.JPG"}));

  place.programDirectory = f.listDir.Root();
  outcome = f.run.StartRun(f.tree.Root(), place);
  EXPECT_EQ(outcome.renameListPath, f.listDir.PathOf("Rename_List.TXT"));
}

TEST(RenameRunTest, StopEndsTheRunAfterTheCurrentPicture) {
  RunFixture f;
  f.tree.Write("1.JPG", Pic("2001:01:01 01:01:01"));
  f.tree.Write("2.JPG", Pic("2002:02:02 02:02:02"));
  f.tree.Write("sub/3.JPG", Pic("2003:03:03 03:03:03"));
  f.frontEnd.stopAfterHandOvers = 2;  // the hand-over after the first picture is shown
  test::HarnessRun result = f.Run();
  EXPECT_EQ(result.outcome.status, RunStatus::Stopped);
  EXPECT_EQ(result.lines, (std::vector<std::string>{"1.JPG--->2001-01-01-010101.JPG"}));
  EXPECT_TRUE(f.tree.IsFile("2.JPG"));
  EXPECT_TRUE(f.tree.IsFile("sub/3.JPG"));
}

}  // namespace
}  // namespace tessaly
