#include "cli/RenameCommand.h"

#include "cli/CliFrontEnd.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/EngineHarness.h"
#include "tests/support/FaultyFileSystem.h"

namespace tessaly {
namespace {

struct CommandOutput {
  int status;
  std::string out, err;
};

CommandOutput Rename(FileSystem& fs, std::vector<std::string> arguments,
                     const RenameListPlace& place = {}) {
  std::ostringstream out, err;
  int status = RunRenameCommand(arguments, fs, place, false, out, err);
  return {status, out.str(), err.str()};
}

TEST(RenameCommandTest, RenamesAndEndsWithTheCount) {
  test::TempTree tree, listDir;
  tree.Write("IMG_0001.JPG", test::Pic("2009:08:12 12:07:41"));
  tree.Write("IMG_0002.JPG", test::Pic("2010:01:01 00:00:00"));
  test::FaultyFileSystem fs;
  CommandOutput c =
      Rename(fs, {"--no-subdir", "--maker", "--list", listDir.PathOf("l.txt"), tree.Root()});
  EXPECT_EQ(c.status, 0);
  EXPECT_EQ(c.err, "");
  EXPECT_EQ(c.out, "Rename list: " + listDir.PathOf("l.txt") + "\nRename Count = 2\n");
  EXPECT_TRUE(tree.IsFile("ACME-2009-08-12-120741.JPG"));
  EXPECT_TRUE(tree.IsFile("ACME-2010-01-01-000000.JPG"));
}

TEST(RenameCommandTest, DefaultMovesIntoDateDirectoriesAndUsesTheDefaultPlace) {
  test::TempTree tree, programDir;
  tree.Write("IMG_0001.JPG", test::Pic("2009:08:12 12:07:41"));
  test::FaultyFileSystem fs;
  RenameListPlace place;
  place.programDirectory = programDir.Root();
  CommandOutput c = Rename(fs, {tree.Root()}, place);
  EXPECT_EQ(c.status, 0);
  EXPECT_TRUE(tree.IsFile("2009-08-12/2009-08-12-120741.JPG"));
  EXPECT_NE(c.out.find("Rename Count = 2\n"), std::string::npos);
  EXPECT_TRUE(programDir.IsFile("Rename_List.TXT"));
}

TEST(RenameCommandTest, ProblemsGoToStderrAndExitWith1) {
  test::TempTree tree, listDir;
  tree.Write("IMG_0001.JPG", test::Pic("2009:08:12 12:07:41", 6000, "a"));
  tree.Write("2009-08-12-120741.JPG", test::Blob(6000));
  tree.Write("IMG_0002.JPG", test::Pic("2010:01:01 00:00:00"));
  test::FaultyFileSystem fs;
  fs.openFails[tree.PathOf("IMG_0002.JPG")] = std::errc::permission_denied;
  CommandOutput c = Rename(fs, {"--no-subdir", "--list", listDir.PathOf("l"), tree.Root()});
  EXPECT_EQ(c.status, 1);
  EXPECT_NE(c.err.find("tessaly-cli: " + tree.PathOf("IMG_0002.JPG") +
                       ": cannot be opened: Permission denied\n"),
            std::string::npos)
      << c.err;
  EXPECT_NE(c.err.find("tessaly-cli: " + tree.PathOf("IMG_0001.JPG") + ": not renamed: kept"),
            std::string::npos)
      << "the command line never replaces a file: " << c.err;
  EXPECT_TRUE(c.out.ends_with("Rename Count = 0\n"));
  EXPECT_TRUE(tree.IsFile("IMG_0001.JPG"));
}

TEST(RenameCommandTest, UsageErrorsAndRunsThatCannotStartExitWith2) {
  test::TempTree tree;
  test::FaultyFileSystem fs;
  const std::vector<std::string> cases[] = {
      {},
      {"--list"},
      {"--colour", tree.Root()},
      {tree.Root(), tree.Root()},
      {tree.PathOf("missing")},
      {"--list", tree.PathOf("no/such/dir/list"), tree.Root()},
  };
  for (const auto& arguments : cases) {
    CommandOutput c = Rename(fs, arguments);
    EXPECT_EQ(c.status, 2);
    EXPECT_FALSE(c.err.empty());
    EXPECT_EQ(c.out, "");
  }
}

TEST(CliFrontEndTest, ProgressLineOnlyOnATerminalAndClearedBeforeAProblem) {
  for (bool terminal : {false, true}) {
    std::ostringstream err;
    CliFrontEnd frontEnd(RenameOptions{}, err, terminal);
    frontEnd.ShowDirectory("/photos/card/");
    frontEnd.ShowCount(3);  // within a tenth of a second: not drawn again
    frontEnd.ReportProblem(Problem{ProblemKind::PictureUnreadable, "/photos/card/x.JPG", "gone"});
    frontEnd.EndProgress();
    std::string expected = "tessaly-cli: /photos/card/x.JPG: gone\n";
    if (terminal) expected = "\r\x1b[K0 renamed  /photos/card/\r\x1b[K" + expected;
    EXPECT_EQ(err.str(), expected) << terminal;
    EXPECT_EQ(frontEnd.Problems(), 1);
    EXPECT_EQ(frontEnd.AskReplace({"/a", "/b"}), ReplaceAnswer::Keep);
  }
}

}  // namespace
}  // namespace tessaly
