// Each fault ends in a completed run, with nothing lost and the problem
// reported.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <set>

#include "tests/support/EngineHarness.h"
#include "tests/support/FaultyFileSystem.h"

namespace tessaly {
namespace {

using test::Pic;

struct FaultCase {
  const char* name;
  // Sets up the tree and the faults.
  std::function<void(test::TempTree&, test::FaultyFileSystem&)> arrange;
  ProblemKind expected;
  int renamed;  // pictures renamed in the run
};

void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.name;
}

std::multiset<std::string> Contents(const test::TempTree& tree) {
  std::multiset<std::string> contents;
  for (const auto& [path, content] : tree.Files())
    contents.insert(content);
  return contents;
}

std::vector<FaultCase> FaultCases() {
  // Each case arranges exactly one fault.
  return {
      {"UnreadablePicture",
       [](test::TempTree& t, test::FaultyFileSystem& fs) {
         t.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
         t.Write("IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
         fs.openFails[t.PathOf("IMG_0001.JPG")] = std::errc::permission_denied;
       },
       ProblemKind::PictureUnreadable, 1},
      {"UnreadableDirectory",
       [](test::TempTree& t, test::FaultyFileSystem& fs) {
         t.Write("locked/IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
         t.Write("open/IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
         fs.listFails[t.PathOf("locked/")] = std::errc::permission_denied;
       },
       ProblemKind::DirectoryUnreadable, 1},
      {"ReadOnlyDirectory",
       [](test::TempTree& t, test::FaultyFileSystem& fs) {
         t.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
         fs.moveFails[t.PathOf("IMG_0001.JPG")] = std::errc::read_only_file_system;
       },
       ProblemKind::RenameFailed, 0},
      {"FifoNamedLikeAPicture",
       [](test::TempTree& t, test::FaultyFileSystem& fs) {
         ASSERT_EQ(mkfifo(t.PathOf("x.jpg").c_str(), 0644), 0);
         // Opening it at all would be a fault: it shows as another problem.
         fs.openFails[t.PathOf("x.jpg")] = std::errc::device_or_resource_busy;
         t.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
       },
       ProblemKind::NotRegularFile, 1},
      {"SymbolicLinkLoop",
       [](test::TempTree& t, test::FaultyFileSystem&) {
         t.Write("sub/IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
         ASSERT_EQ(symlink("..", t.PathOf("sub/up").c_str()), 0);
       },
       ProblemKind::LinkNotFollowed, 1},
      {"DateDirectoryNameTakenByAFile",
       [](test::TempTree& t, test::FaultyFileSystem&) {
         t.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
         t.Write("2001-01-01", "a plain file");
       },
       ProblemKind::SubDirectoryMoveFailed, 1},
      {"DateDirectoryCannotBeMade",
       [](test::TempTree& t, test::FaultyFileSystem& fs) {
         t.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
         fs.createFails[t.PathOf("2001-01-01")] = std::errc::no_space_on_device;
       },
       ProblemKind::SubDirectoryMoveFailed, 1},
      {"PictureRemovedBetweenListingAndReading",
       [](test::TempTree& t, test::FaultyFileSystem& fs) {
         t.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
         std::string path = t.PathOf("IMG_0001.JPG");
         fs.beforeOpen[path] = [path] { std::remove(path.c_str()); };
       },
       ProblemKind::PictureUnreadable, 0},
      {"FileAppearsAtTheTargetBeforeTheRename",
       [](test::TempTree& t, test::FaultyFileSystem& fs) {
         t.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
         test::TempTree* tree = &t;
         fs.beforeMove[t.PathOf("2001-01-01-010101.JPG")] = [tree] {
           tree->Write("2001-01-01-010101.JPG", "arrived just now");
         };
       },
       ProblemKind::RenameDeclined, 0},
  };
}

class FaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(FaultTest, RunCompletesNothingLostProblemReported) {
  const FaultCase& c = GetParam();
  test::TempTree tree, listDir;
  test::FaultyFileSystem fs;
  c.arrange(tree, fs);
  if (testing::Test::HasFatalFailure()) return;
  std::multiset<std::string> before = Contents(tree);
  std::set<std::string> pathsBefore;
  for (const auto& [path, content] : tree.Files())
    pathsBefore.insert(path);
  test::RecordingFrontEnd frontEnd;
  RenameRun run(fs, frontEnd);
  test::HarnessRun result = test::RunTree(tree, listDir, run);

  EXPECT_EQ(result.outcome.status, RunStatus::Completed);
  EXPECT_TRUE(frontEnd.HasProblem(c.expected));
  for (const Problem& p : frontEnd.problems) {
    EXPECT_EQ(p.kind, c.expected) << p.path << ": " << p.reason;
    EXPECT_FALSE(p.path.empty());
    EXPECT_FALSE(p.reason.empty());
  }
  std::multiset<std::string> after = Contents(tree);
  if (std::string(c.name) == "PictureRemovedBetweenListingAndReading") {
    EXPECT_TRUE(after.empty());  // removed by someone else, not by the run
  } else if (std::string(c.name) == "FileAppearsAtTheTargetBeforeTheRename") {
    before.insert("arrived just now");
    EXPECT_EQ(after, before);
  } else {
    EXPECT_EQ(after, before);
  }
  int renamed = 0;  // lines for pictures as they stood before the run
  for (const std::string& line : result.lines) {
    renamed += static_cast<int>(pathsBefore.count(line.substr(0, line.find("--->"))));
  }
  EXPECT_EQ(renamed, c.renamed);
  EXPECT_EQ(run.RenameCount(), static_cast<std::int64_t>(result.lines.size()));
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTest, testing::ValuesIn(FaultCases()),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(FaultTest, RenameListThatCannotBeWrittenStopsTheRun) {
  test::TempTree tree;
  tree.Write("1.JPG", Pic("2001:01:01 01:01:01"));
  tree.Write("2.JPG", Pic("2002:02:02 02:02:02"));
  test::FaultyFileSystem fs;
  test::RecordingFrontEnd frontEnd;
  frontEnd.options.DateDirectories = false;
  RenameRun run(fs, frontEnd);
  RenameListPlace place;
  place.explicitPath = "/dev/full";
  RunOutcome outcome = run.StartRun(tree.Root(), place);
  EXPECT_EQ(outcome.status, RunStatus::Stopped);
  EXPECT_TRUE(frontEnd.HasProblem(ProblemKind::RenameListWriteFailed));
  EXPECT_TRUE(tree.IsFile("2.JPG")) << "no rename after the list failed";
}

}  // namespace
}  // namespace tessaly
