// Runs the engine on randomly made trees full of clashes, on the real file
// system in its own listing order, and checks what must hold after any run.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>

#include "engine/UndoRun.h"
#include "platform/OverlayFileSystem.h"
#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

void MakeRandomTree(test::TempTree& tree, std::mt19937& rng) {
  const char* const dates[] = {"2009:08:12 12:07:41", "2009:08:12 12:07:42", "2010:01:01 00:00:00"};
  const char* const names[] = {"IMG_#.JPG",
                               "img_#.jpg",
                               "DSC#jpg",
                               "2009-08-12-120741.JPG",
                               "2009-08-12-120741-1.JPG",
                               "ACME-2009-08-12-120741.JPG",
                               "ACME-Z100-2010-01-01-000000.JPG",
                               "Z100-2009-08-12-120742.JPG"};
  const char* const directories[] = {"d", ".hidden", "2009-08-12", "trip 2010-01-01"};
  auto pick = [&](std::size_t n) { return rng() % n; };
  std::vector<std::string> dirs = {""};
  for (std::size_t i = 0, n = pick(5); i < n; ++i) {
    std::string parent = dirs[pick(dirs.size())];
    dirs.push_back(parent + directories[pick(4)] + std::to_string(i) + "/");
    if (pick(3) == 0) dirs.push_back(parent + "2009-08-12/");  // an earlier run's date directory
  }
  int id = 0;
  for (const std::string& dir : dirs) {
    tree.MakeDirectory(dir.empty() ? "." : dir);
    for (std::size_t i = 0, n = pick(7); i < n; ++i) {
      std::string unique = std::string("#").append(std::to_string(id++)), name = names[pick(8)];
      if (auto hash = name.find('#'); hash != std::string::npos) name.replace(hash, 1, unique);
      std::size_t size = 6000 + pick(2), kind = pick(6);
      if (kind == 0) tree.Write(dir + "notes" + unique + ".txt", unique);
      // Named like a picture, of a picture's length, but no picture.
      if (kind == 1) tree.Write(dir + name, std::string(size - unique.size(), 'x') + unique);
      if (kind > 1) tree.Write(dir + name, test::Pic(dates[pick(3)], size, unique));
    }
  }
}

// Where each file of the tree stands, by inode: a rename keeps it.
std::map<std::uint64_t, std::string> PlacesByInode(const test::TempTree& tree) {
  std::map<std::uint64_t, std::string> places;
  NativeFileSystem fs;
  for (const auto& [path, content] : tree.Files()) {
    FsResult<PathStatus> status = fs.StatusOf(tree.PathOf(path), SymbolicLinks::NotFollowed);
    if (status.ok()) places[status->inode] = path;
  }
  return places;
}

TEST(PropertyTest, NothingIsLostTheListSaysEveryRenameThePreviewForeseesItAndUndoTakesItBack) {
  std::size_t totalLines = 0, totalQuestions = 0, moved = 0;
  for (unsigned seed = 1; seed <= 96; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    test::EngineFixture f({}, {(seed & 1) != 0, (seed & 2) != 0, (seed & 4) != 0});
    MakeRandomTree(f.tree, rng);
    f.fs.ownOrder = true;  // the file system's own order, repeats and all
    const auto before = f.Snapshot();
    const auto inodes = PlacesByInode(f.tree);

    OverlayFileSystem overlay(f.fs);
    const RenameListPlace place{f.listDir.PathOf("Rename_List.TXT"), "", "", ""};
    ASSERT_EQ(RenameRun(overlay, f.frontEnd).StartRun(f.tree.Root(), place).status,
              RunStatus::Completed);
    ASSERT_EQ(f.Snapshot(), before) << "the preview changed the tree";
    ASSERT_TRUE(f.listDir.Files().empty()) << "the preview wrote a file";
    const auto foreseen = overlay.MovedFiles();

    const auto contents = f.tree.Contents();
    const test::Lines lines = f.Run();
    ASSERT_EQ(f.tree.Contents(), contents);
    EXPECT_EQ(f.run.RenameCount(), static_cast<std::int64_t>(lines.size()));
    // Every rename in the list was made, in its order, and every other move
    // took the picture listed last into the date sub-directory beside it.
    std::size_t next = 0;
    std::string listed;  // where the picture of the latest line stands
    for (const auto& [from, to] : f.fs.moves) {
      std::string source = test::TempTree::Slashed(from.substr(f.tree.Root().size())),
                  target = test::TempTree::Slashed(to.substr(f.tree.Root().size()));
      std::size_t start = source.rfind('/') + 1;
      bool matched = false;
      for (;;) {
        if (source == listed && target.compare(0, start, source, 0, start) == 0 &&
            target.find('/', start) == start + 10 &&
            target.find('/', start + 11) == std::string::npos) {
          matched = true;  // into the date directory
          break;
        }
        if (next == lines.size()) break;
        const std::string& line = lines[next++];
        listed = line.substr(line.find("--->") + 4);
        if (line.compare(0, line.find("--->"), listed) != 0) {  // a rename, not a name kept
          matched = line == source + "--->" + target;
          break;
        }
      }
      ASSERT_TRUE(matched) << source << " to " << target << " is no listed rename nor a date move";
    }
    for (; next < lines.size(); ++next) {
      EXPECT_EQ(lines[next].compare(0, lines[next].find("--->"),
                                    lines[next].substr(lines[next].find("--->") + 4)),
                0)
          << "a listed rename that was not made: " << lines[next];
    }
    // Every file ends where the preview said it would.
    for (const auto& [inode, after] : PlacesByInode(f.tree)) {
      const std::string& first = inodes.at(inode);
      auto predicted = foreseen.find(f.tree.PathOf(first));
      EXPECT_EQ(f.tree.PathOf(after),
                predicted == foreseen.end() ? f.tree.PathOf(first) : predicted->second)
          << first;
      moved += after != first;
    }
    UndoOutcome undo = UndoJournal(f.fs, f.frontEnd, f.outcome.journalPath);
    EXPECT_EQ(undo.refused + undo.lost, 0);
    EXPECT_EQ(f.Snapshot(), before) << "undo did not give the tree back";
    totalLines += lines.size();
    totalQuestions += static_cast<std::size_t>(f.frontEnd.questions);
  }
  // The trees are made to clash: renames, suffixes, same-length questions and
  // date moves all occur.
  EXPECT_GT(totalLines, 300u);
  EXPECT_GT(totalQuestions, 10u);
  EXPECT_GT(moved, 200u);
}

}  // namespace
}  // namespace tessaly
