// Runs the engine on randomly made trees, on the real file system in its own
// listing order, and checks what must hold after any run.

#include <gtest/gtest.h>

#include <map>
#include <random>

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
      std::size_t size = 6000 + pick(2);
      switch (pick(6)) {
        case 0:
          tree.Write(dir + "notes" + unique + ".txt", unique);
          break;
        case 1:  // named like a picture, of a picture's length, but no picture
          tree.Write(dir + name, std::string(size - unique.size(), 'x') + unique);
          break;
        default:
          tree.Write(dir + name, test::Pic(dates[pick(3)], size, unique));
      }
    }
  }
}

TEST(PropertyTest, NoRunLosesOrOverwritesAPictureAndEachEndsWhereItsLastLineSays) {
  std::size_t totalLines = 0, totalQuestions = 0;
  for (unsigned seed = 1; seed <= 96; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    test::EngineFixture f({}, {(seed & 1) != 0, (seed & 2) != 0, (seed & 4) != 0});
    MakeRandomTree(f.tree, rng);
    f.fs.ownOrder = true;  // the file system's own order, repeats and all
    const std::map<std::string, std::string> before = f.tree.Files();
    const test::Lines lines = f.Run();
    const std::map<std::string, std::string> after = f.tree.Files();
    std::multiset<std::size_t> contentsBefore;
    for (const auto& [path, content] : before)
      contentsBefore.insert(std::hash<std::string>()(content));
    ASSERT_EQ(f.Contents(), contentsBefore);
    EXPECT_EQ(f.run.RenameCount(), static_cast<std::int64_t>(lines.size()));

    // Follow each picture through the moves that were made, line by line.
    std::map<std::string, std::string> at = before;  // path -> content
    std::size_t nextMove = 0;
    auto apply = [&] {
      const auto& [from, to] = f.fs.moves[nextMove++];
      std::string source = from.substr(f.tree.Root().size());
      at[to.substr(f.tree.Root().size())] = at[source];
      at.erase(source);
    };
    std::map<std::string, std::string> lastTarget;  // content -> target of its last line
    for (const std::string& line : lines) {
      std::string source = line.substr(0, line.find("--->")),
                  target = line.substr(line.find("--->") + 4);
      auto move = std::pair{f.tree.PathOf(source), f.tree.PathOf(target)};
      while (nextMove < f.fs.moves.size() &&
             (source == target ? !at.count(source) : f.fs.moves[nextMove] != move))
        apply();
      if (source != target) {
        ASSERT_LT(nextMove, f.fs.moves.size()) << "no move made for " << line;
        apply();
      }
      ASSERT_TRUE(at.count(target)) << line;
      lastTarget[at[target]] = target;
    }
    // A picture now stands where its last line says, or in the date
    // sub-directory beside that place.
    std::map<std::string, std::string> where;
    for (const auto& [path, content] : after)
      where[content] = path;
    for (const auto& [content, target] : lastTarget) {
      const std::string& now = where[content];
      std::string directory = target.substr(0, target.rfind('/') + 1);
      bool beside = now.starts_with(directory) &&
                    now.find('/', directory.size()) == directory.size() + 10 &&
                    now.find('/', directory.size() + 11) == std::string::npos;
      EXPECT_TRUE(now == target || beside) << target << " is now " << now;
    }
    totalLines += lines.size();
    totalQuestions += f.frontEnd.questions.size();
  }
  // The trees are made to clash: renames, suffixes and same-length questions all occur.
  EXPECT_GT(totalLines, 300u);
  EXPECT_GT(totalQuestions, 10u);
}

}  // namespace
}  // namespace tessaly
