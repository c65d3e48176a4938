// Runs the engine on randomly made trees, on the real file system in its own
// listing order, and checks what must hold after any run.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "tests/support/EngineHarness.h"
#include "tests/support/FaultyFileSystem.h"

namespace tessaly {
namespace {

using test::Pic;

const char* const kDates[] = {"2009:08:12 12:07:41", "2009:08:12 12:07:42", "2010:01:01 00:00:00"};
const char* const kTakenNames[] = {"2009-08-12-120741.JPG", "2009-08-12-120741-1.JPG",
                                   "ACME-2009-08-12-120741.JPG", "ACME-Z100-2010-01-01-000000.JPG",
                                   "Z100-2009-08-12-120742.JPG"};
const std::size_t kSizes[] = {6000, 6001};

void MakeRandomTree(test::TempTree& tree, std::mt19937& rng) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  std::vector<std::string> dirs = {""};
  int subdirs = pick(5);
  for (int i = 0; i < subdirs; ++i) {
    std::string parent = dirs[static_cast<std::size_t>(pick(static_cast<int>(dirs.size())))];
    const char* kinds[] = {"d", ".hidden", "2009-08-12", "trip 2010-01-01", "x"};
    dirs.push_back(parent + kinds[pick(5)] + std::to_string(i) + "/");
    if (pick(3) == 0) dirs.push_back(parent + "2009-08-12/");  // an earlier run's date directory
  }
  int id = 0;
  for (const std::string& dir : dirs) {
    tree.MakeDirectory(dir.empty() ? "." : dir);
    int files = pick(7);
    for (int i = 0; i < files; ++i) {
      std::string unique = std::string("#").append(std::to_string(id++));
      std::string name;
      switch (pick(4)) {
        case 0:
          name = std::string("IMG_").append(std::to_string(id)).append(".JPG");
          break;
        case 1:
          name = std::string("img_").append(std::to_string(id)).append(".jpg");
          break;
        case 2:
          name = kTakenNames[pick(5)];
          break;
        default:
          name = std::string("DSC").append(std::to_string(id)).append("jpg");
          break;
      }
      switch (pick(6)) {
        case 0:
          tree.Write(dir + "notes" + unique + ".txt", unique);
          break;
        case 1:  // named like a picture, of a picture's length, but no picture
          tree.Write(dir + name, std::string(kSizes[pick(2)] - unique.size(), 'x') + unique);
          break;
        default:
          tree.Write(dir + name, Pic(kDates[pick(3)], kSizes[pick(2)], unique));
      }
    }
  }
}

// Whether `now` is a file in a date sub-directory (10 characters) of the
// directory that holds `target`.
bool InDateDirectoryBeside(const std::string& now, const std::string& target) {
  std::size_t slash = target.rfind('/');
  std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  if (now.compare(0, directory.size(), directory) != 0) return false;
  std::string rest = now.substr(directory.size());
  return rest.find('/') == 10 && rest.find('/', 11) == std::string::npos;
}

TEST(PropertyTest, NoRunLosesOrOverwritesAPicture) {
  int runs = 0;
  std::size_t totalLines = 0, totalQuestions = 0;
  for (unsigned seed = 1; seed <= 12; ++seed) {
    for (int combo = 0; combo < 8; ++combo) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " options " + std::to_string(combo));
      std::mt19937 rng(seed * 8 + static_cast<unsigned>(combo));
      test::TempTree tree, listDir;
      MakeRandomTree(tree, rng);
      const std::map<std::string, std::string> before = tree.Files();

      test::FaultyFileSystem fs;
      fs.sortedListings = false;  // the file system's own order, repeats and all
      test::RecordingFrontEnd frontEnd;
      frontEnd.options = RenameOptions{(combo & 1) != 0, (combo & 2) != 0, (combo & 4) != 0};
      RenameRun run(fs, frontEnd);
      test::HarnessRun result = test::RunTree(tree, listDir, run);
      ASSERT_EQ(result.outcome.status, RunStatus::Completed);
      const std::map<std::string, std::string> after = tree.Files();

      // Nothing lost, nothing overwritten.
      std::multiset<std::string> contentsBefore, contentsAfter;
      for (const auto& [p, c] : before)
        contentsBefore.insert(c);
      for (const auto& [p, c] : after)
        contentsAfter.insert(c);
      ASSERT_EQ(contentsBefore, contentsAfter);
      EXPECT_EQ(run.RenameCount(), static_cast<std::int64_t>(result.lines.size()));

      // Follow each picture through the moves, line by line: a line's source
      // stood there before the run or was put there by an earlier move.
      std::map<std::string, std::string> at = before;  // relative path -> content
      std::size_t nextMove = 0;
      auto apply = [&] {
        const auto& [from, to] = fs.moves[nextMove++];
        std::string f = from.substr(tree.Root().size()), t = to.substr(tree.Root().size());
        at[t] = at[f];
        at.erase(f);
      };
      std::map<std::string, std::string> lastTarget;  // content -> target of its last line
      for (const std::string& line : result.lines) {
        std::string source = line.substr(0, line.find("--->"));
        std::string target = line.substr(line.find("--->") + 4);
        if (source != target) {
          while (nextMove < fs.moves.size() &&
                 fs.moves[nextMove] != std::pair{tree.PathOf(source), tree.PathOf(target)}) {
            apply();
          }
          ASSERT_LT(nextMove, fs.moves.size()) << "no move made for " << line;
          apply();
        } else {
          while (!at.count(source) && nextMove < fs.moves.size())
            apply();
        }
        ASSERT_TRUE(at.count(target)) << line;
        lastTarget[at[target]] = target;
      }
      // A picture now stands where its last line says, or in the date
      // sub-directory beside that place.
      std::map<std::string, std::string> where;
      for (const auto& [p, c] : after)
        where[c] = p;
      for (const auto& [content, target] : lastTarget) {
        const std::string& now = where[content];
        EXPECT_TRUE(now == target || InDateDirectoryBeside(now, target))
            << target << " is now " << now;
      }
      ++runs;
      totalLines += result.lines.size();
      totalQuestions += frontEnd.questions.size();
    }
  }
  EXPECT_EQ(runs, 96);
  // The trees are made to clash: renames, suffixes and same-length questions all occur.
  EXPECT_GT(totalLines, 300u);
  EXPECT_GT(totalQuestions, 10u);
}

}  // namespace
}  // namespace tessaly
