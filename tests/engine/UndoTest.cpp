#include "engine/UndoRun.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/OverlayFileSystem.h"
#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using test::Pic;

// What happens between the run and the undo, and what undo must then do.
struct Case {
  const char* why;
  std::function<void(test::EngineFixture&)> meanwhile;
  std::int64_t movedBack, refused, lost;
  std::vector<ProblemKind> kinds;
  // From the tree before the run: a path gone (""), a directory ("dir"), or a
  // file holding "new", picture 1 or 2, or picture 1 "edited".
  std::map<std::string, std::string> differences;
};

TEST(UndoTest, UndoTakesBackWhatItCanVouchForAndNothingElse) {
  const std::string a = "2009-08-12/2009-08-12-120741.JPG", b = "2010-01-01/2010-01-01-000000.JPG";
  const auto edit = [](const std::string& path) {
    return [path](test::EngineFixture& f) {
      std::ofstream(f.tree.PathOf(path), std::ios::app) << "x";
    };
  };
  // clang-format off
  const Case cases[] = {
      {"everything back, the date directories removed", nullptr, 4, 0, 0, {}, {}},
      {"a picture edited since is kept where it is", edit(a), 2, 2, 0,
       {ProblemKind::NotUndone, ProblemKind::DirectoryKept},
       {{"IMG_1.JPG", ""}, {"2009-08-12/", "dir"}, {a, "edited"}}},
      {"a picture whose time changed since, its bytes the same, is not vouched for", [&a](test::EngineFixture& f) {
         const auto path = test::NativePath(f.tree.PathOf(a));
         std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(10));
       }, 2, 2, 0, {ProblemKind::NotUndone, ProblemKind::DirectoryKept},
       {{"IMG_1.JPG", ""}, {"2009-08-12/", "dir"}, {a, "picture 1"}}},
      {"a copy of the same length and time in its place is no picture of the run", [&a](test::EngineFixture& f) {
         auto modified = std::filesystem::last_write_time(test::NativePath(f.tree.PathOf(a)));
         f.tree.Write("copy", "forged" + f.tree.Read(a).substr(6));  // as cp -p and mv would
         std::filesystem::last_write_time(test::NativePath(f.tree.PathOf("copy")), modified);
         std::filesystem::rename(test::NativePath(f.tree.PathOf("copy")), test::NativePath(f.tree.PathOf(a)));
       }, 2, 2, 0, {ProblemKind::NotUndone, ProblemKind::DirectoryKept},
       {{"IMG_1.JPG", ""}, {"2009-08-12/", "dir"}, {a, "forged"}}},
      {"hand-made records that reach outside the run's directory", [&b](test::EngineFixture& f) {
         std::ofstream journal(f.outcome.journalPath, std::ios::binary | std::ios::app);
         const RecordedIdentity picture{f.fs.StatusOf(f.tree.PathOf(b), SymbolicLinks::NotFollowed).value()};
         for (std::string from : {f.tree.PathOf("../escape.JPG"), f.listDir.PathOf("escape.JPG"),
                                  std::string("relative.JPG"), f.tree.PathOf("x") + '\0' + "y"})
           journal << FormatJournalRecord({JournalRecord::Kind::Move, from, f.tree.PathOf(b), false, picture}) << "\n";
         std::filesystem::create_directory(test::NativePath(f.listDir.PathOf("empty")));
         journal << FormatJournalRecord({JournalRecord::Kind::MakeDirectory, f.listDir.PathOf("empty"), "", false, {}}) << "\n";
       }, 4, 5, 0, {ProblemKind::DirectoryKept, ProblemKind::NotUndone, ProblemKind::NotUndone,
                    ProblemKind::NotUndone, ProblemKind::NotUndone}, {}},
  };
  // clang-format on
  for (const Case& c : cases) {
    test::EngineFixture f({{"IMG_1.JPG", Pic("2009:08:12 12:07:41", 6000, "1")},
                           {"IMG_2.JPG", Pic("2010:01:01 00:00:00", 6001, "2")}},
                          {true, false, false});
    const auto before = f.Snapshot();
    const std::string picture1 = f.tree.Read("IMG_1.JPG");
    const std::string forged = "forged" + picture1.substr(6);
    f.Run();
    if (c.meanwhile) c.meanwhile(f);
    f.frontEnd.problems.clear();
    UndoOutcome undo = UndoJournal(f.fs, f.frontEnd, f.outcome.journalPath);
    EXPECT_EQ(undo.failure, JournalReadFailure::None) << c.why;
    EXPECT_EQ(undo.movedBack, c.movedBack) << c.why;
    EXPECT_EQ(undo.refused, c.refused) << c.why;
    EXPECT_EQ(f.frontEnd.ProblemKinds(), c.kinds) << c.why;
    auto expected = before;
    for (const auto& [path, content] : c.differences) {
      if (content.empty())
        expected.erase(path);
      else if (content == "dir")
        expected[path] = 0;
      else
        expected[path] = content.starts_with("picture ")
                             ? before.at("IMG_" + content.substr(8) + ".JPG")
                             : std::hash<std::string>()(content == "edited"   ? picture1 + "x"
                                                        : content == "forged" ? forged
                                                                              : content);
    }
    EXPECT_EQ(f.Snapshot(), expected) << c.why;
    // A second undo finds nothing more to do and changes nothing.
    UndoOutcome again = UndoJournal(f.fs, f.frontEnd, f.outcome.journalPath);
    EXPECT_EQ(again.movedBack + again.directoriesRemoved, 0) << c.why;
    EXPECT_EQ(f.Snapshot(), expected) << c.why;
  }
}

TEST(UndoTest, AStoppedRunIsUndoneAndAReplacedFileIsReportedAsLost) {
  test::EngineFixture f({{"a/IMG_1.JPG", Pic("2009:08:12 12:07:41")},
                         {"a/IMG_2.JPG", Pic("2009:08:12 12:07:41")},
                         {"b/IMG_3.JPG", Pic("2010:01:01 00:00:00")}},
                        {false, false, false});
  const auto before = f.Snapshot();
  f.frontEnd.answer = ReplaceAnswer::Replace;  // the second picture replaces its copy
  f.frontEnd.stopAfterHandOvers = 6;           // as b/ is entered
  f.Run("", RunStatus::Stopped);
  ASSERT_TRUE(f.tree.IsFile("b/IMG_3.JPG"));
  UndoOutcome undo = UndoJournal(f.fs, f.frontEnd, f.outcome.journalPath);
  EXPECT_EQ(undo.lost, 1);
  ASSERT_EQ(f.frontEnd.ProblemKinds(), std::vector<ProblemKind>{ProblemKind::ReplacedFileLost});
  EXPECT_EQ(f.frontEnd.problems[0].path, f.tree.PathOf("a/2009-08-12-120741.JPG"));
  auto expected = before;
  expected.erase("a/IMG_1.JPG");  // the one replaced
  EXPECT_EQ(f.Snapshot(), expected);
}

}  // namespace
}  // namespace tessaly
