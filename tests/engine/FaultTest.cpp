// Each fault ends in a completed run, with nothing lost or overwritten and
// the problem reported.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using test::Pic;

TEST(FaultTest, RunCompletesNothingLostProblemReported) {
  const test::Bytes first = Pic("2001:01:01 01:01:01");
  const std::string one = "IMG_0001.JPG";
  using Tree = test::TempTree;
  using Fs = test::FaultyFileSystem;
  // clang-format off
  const struct {
    const char* why; std::function<void(Tree&, Fs&)> arrange; ProblemKind expected;
    int renamed;  // of the two pictures the tree had
  } cases[] = {
      {"an unreadable picture", [&](Tree& t, Fs& fs) { fs.fails["open " + t.PathOf(one)] = std::errc::permission_denied; },
       ProblemKind::PictureUnreadable, 1},
      {"a header past the reader's limits", [&](Tree& t, Fs&) { t.Write(one, test::ExifWriter().Entry(0x010F, 1, 40000).Bytes()); },
       ProblemKind::HeaderLimit, 1},
      {"an unreadable directory", [](Tree& t, Fs& fs) { t.Write("locked/3.JPG", Pic("2003:03:03 03:03:03"));
         fs.fails["list " + t.PathOf("locked/")] = std::errc::permission_denied; }, ProblemKind::DirectoryUnreadable, 2},
      {"a read-only directory", [&](Tree& t, Fs& fs) { fs.fails["move " + t.PathOf(one)] = std::errc::read_only_file_system; },
       ProblemKind::RenameFailed, 1},
      {"a FIFO named like a picture, never opened", [](Tree& t, Fs& fs) { ASSERT_EQ(mkfifo(t.PathOf("x.jpg").c_str(), 0644), 0);
         fs.fails["open " + t.PathOf("x.jpg")] = std::errc::device_or_resource_busy; }, ProblemKind::NotRegularFile, 2},
      {"a symbolic link loop", [](Tree& t, Fs&) { ASSERT_EQ(symlink("..", t.PathOf("up").c_str()), 0); },
       ProblemKind::LinkNotFollowed, 2},
      {"the date directory cannot be made", [](Tree& t, Fs& fs) { fs.fails["mkdir " + t.PathOf("2001-01-01")] =
         std::errc::no_space_on_device; }, ProblemKind::SubDirectoryMoveFailed, 2},
      {"a picture removed between listing and reading", [&](Tree& t, Fs& fs) { fs.before["open " + t.PathOf(one)] =
         [path = t.PathOf(one)] { std::remove(path.c_str()); }; }, ProblemKind::PictureUnreadable, 1},
      {"a file appears at the target just before the rename", [](Tree& t, Fs& fs) {
         fs.before["move " + t.PathOf("2001-01-01-010101.JPG")] = [&t] { t.Write("2001-01-01-010101.JPG", "new"); }; },
       ProblemKind::RenameDeclined, 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    test::EngineFixture f({{one, first}, {"IMG_0002.JPG", Pic("2002:02:02 02:02:02")}},
                          {true, false, false});
    c.arrange(f.tree, f.fs);
    if (testing::Test::HasFatalFailure()) return;
    std::multiset<std::string> contents = f.Contents();
    test::Lines lines = f.Run();
    // What other programs did during the run, and nothing else, changed the contents.
    if (c.expected == ProblemKind::RenameDeclined) contents.insert("new");
    if (std::string(c.why).find("removed") != std::string::npos) {
      contents.erase(contents.find(std::string(first.begin(), first.end())));
    }
    EXPECT_EQ(f.Contents(), contents) << c.why;
    for (const Problem& p : f.frontEnd.problems) {
      EXPECT_EQ(p.kind, c.expected) << c.why << ": " << p.path << ": " << p.reason;
    }
    EXPECT_FALSE(f.frontEnd.problems.empty()) << c.why;
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(), [](auto& l) { return l.starts_with("IMG_000"); }),
        c.renamed)
        << c.why;
  }
}

TEST(FaultTest, ARenameListThatCannotBeWrittenStopsTheRun) {
  test::EngineFixture f(
      {{"1.JPG", Pic("2001:01:01 01:01:01")}, {"2.JPG", Pic("2002:02:02 02:02:02")}});
  EXPECT_EQ(f.run.StartRun(f.tree.Root(), RenameListPlace{"/dev/full", "", ""}).status,
            RunStatus::Stopped);
  EXPECT_EQ(f.frontEnd.ProblemKinds(), std::vector{ProblemKind::RenameListWriteFailed});
  EXPECT_TRUE(f.tree.IsFile("2.JPG")) << "no rename after the list failed";
}

}  // namespace
}  // namespace tessaly
