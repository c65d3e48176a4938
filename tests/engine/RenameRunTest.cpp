#include "engine/RenameRun.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using test::Lines;
using test::Pic;

TEST(RenameRunTest, TheListGoesToTheStateDirectoryWhenTheProgramsIsNotWritable) {
  test::EngineFixture f({{"IMG_0001.JPG", Pic("2001:01:01 01:01:01")}});
  RenameListPlace place{"", f.listDir.PathOf("no-such-dir"), f.listDir.PathOf("state/tessaly"), ""};
  EXPECT_EQ(f.run.StartRun(f.tree.Root(), place).renameListPath,
            f.listDir.PathOf("state/tessaly/Rename_List.TXT"));
  EXPECT_EQ(test::ListLines(f.listDir.Read("state/tessaly/Rename_List.TXT"), f.tree.Root()),
            Lines({"IMG_0001.JPG--->2001-01-01-010101.JPG"}));
#ifndef _WIN32
  ASSERT_EQ(symlink("elsewhere", f.listDir.PathOf("Rename_List.TXT").c_str()), 0);
  place.programDirectory = f.listDir.Root();  // a list refused there is not passed over
  EXPECT_EQ(f.run.StartRun(f.tree.Root(), place).status, RunStatus::ListNotCreated);
#endif
  place.programDirectory = f.listDir.PathOf("state");
  EXPECT_EQ(f.run.StartRun(f.tree.Root(), place).renameListPath,
            f.listDir.PathOf("state/Rename_List.TXT"));
}

#ifndef _WIN32  // no read-ahead on Windows
std::size_t ThreadsOfThisProcess() {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
    ++n;
  return n;
}

// The read-ahead only warms: a picture renamed, replaced, removed or grown
// after it was read ahead and before the rename step reads it is handled as
// without read-ahead. And a run, stopped or not, leaves no thread behind.
TEST(RenameRunTest, TheReadAheadChangesNothingAndEndsWithTheRun) {
  // clang-format off
  const struct { const char* why; std::function<void(test::EngineFixture&)> meanwhile; int stopAfter; } cases[] = {
      {"renamed away", [](test::EngineFixture& f) { std::filesystem::rename(f.tree.PathOf("a/IMG_2.JPG"), f.tree.PathOf("a/moved.txt")); }, -1},
      {"replaced by another picture", [](test::EngineFixture& f) { f.tree.Write("a/IMG_2.JPG", Pic("2005:05:05 05:05:05")); }, -1},
      {"removed", [](test::EngineFixture& f) { std::filesystem::remove(f.tree.PathOf("a/IMG_2.JPG")); }, -1},
      {"grown", [](test::EngineFixture& f) { f.tree.Write("a/IMG_2.JPG", Pic("2002:02:02 02:02:02", 9000)); }, -1},
      {"stopped mid-way", nullptr, 5},
  };
  // clang-format on
  {  // a sanitizer starts a thread of its own with the first thread made
    ReadAhead warmUp(ReadAheadDepth(1, 1),
                     [](const std::string&, std::vector<std::string>&) { return true; });
    warmUp.Hint("x");
  }
  const std::size_t threadsBefore = ThreadsOfThisProcess();
  for (const auto& c : cases) {
    std::vector<std::pair<Lines, Lines>> outcomes;  // list and tree, with and without
    for (bool readAhead : {true, false}) {
      test::EngineFixture f({}, {true, false, false});
      for (int i = 1; i <= 150; ++i) {  // more than the read-ahead holds
        f.tree.Write("a/IMG_" + std::to_string(i) + ".JPG",
                     Pic("2002:02:02 02:02:02", 6000, std::to_string(i)));
      }
      f.fs.readAhead = readAhead;
      f.frontEnd.stopAfterHandOvers = c.stopAfter;
      if (c.meanwhile)
        f.fs.before["open " + f.tree.PathOf("a/IMG_2.JPG")] = [&] { c.meanwhile(f); };
      Lines list = f.Run("", c.stopAfter < 0 ? RunStatus::Completed : RunStatus::Stopped);
      for (const Problem& p : f.frontEnd.problems) {
        const Lines problem = test::ListLines(p.path + ": " + p.reason, f.tree.Root());
        list.insert(list.end(), problem.begin(), problem.end());
      }
      outcomes.emplace_back(list, f.tree.Names());
      EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore) << c.why;
    }
    EXPECT_EQ(outcomes[0], outcomes[1]) << c.why;
  }
}

#endif

}  // namespace
}  // namespace tessaly
