#include "engine/RenameStep.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/support/EngineHarness.h"
#include "tests/support/FaultyFileSystem.h"

namespace tessaly {
namespace {

using test::Blob;
using test::Pic;

constexpr const char* kDate = "2009:08:12 12:07:41";
constexpr const char* kName = "2009-08-12-120741.JPG";

struct StepCase {
  const char* name;
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> before;
  bool subDirectory, maker, model;
  std::set<std::string> after;     // every file afterwards
  std::vector<std::string> lines;  // sorted
  std::vector<ProblemKind> problems;
};

void PrintTo(const StepCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<StepCase> StepCases() {
  std::string n = kName;
  return {
      {"RenamesAfterTheDate",
       {{"IMG_0001.JPG", Pic(kDate)}},
       false,
       false,
       false,
       {n},
       {"IMG_0001.JPG--->" + n},
       {}},
      {"SmallLetterExtensionBecomesCapital",
       {{"img_0001.jpg", Pic(kDate)}},
       false,
       false,
       false,
       {n},
       {"img_0001.jpg--->" + n},
       {}},
      {"MakerAndModelInFront",
       {{"IMG_0001.JPG", Pic(kDate)}},
       false,
       true,
       true,
       {"ACME-Z100-" + n},
       {"IMG_0001.JPG--->ACME-Z100-" + n},
       {}},
      {"RejectedHeaderIsLeftAlone",
       {{"x.jpg", test::ExifWriter().Signature("JFIF").Bytes()}},
       false,
       false,
       false,
       {"x.jpg"},
       {},
       {}},
      {"NoDateIsLeftAlone",
       {{"x.jpg", test::ExifWriter().Size(5000).Bytes()}},
       false,
       false,
       false,
       {"x.jpg"},
       {},
       {}},
      {"LeadingZeroNameIsLeftAlone",
       {{"x.jpg", Pic("0000:00:00 00:00:00")}},
       false,
       false,
       false,
       {"x.jpg"},
       {},
       {}},
      {"SlashInMakerIsLeftAlone",
       {{"x.jpg", Pic(kDate, 6000, "", "A/B")}},
       false,
       true,
       false,
       {"x.jpg"},
       {},
       {}},
      {"BlankDateIsUsed",
       {{"x.jpg", Pic("    :  :     :  :  ")}},
       false,
       false,
       false,
       {"    -  -  -      .JPG"},
       {"x.jpg--->    -  -  -      .JPG"},
       {}},
      {"OtherLengthGetsSuffix",
       {{"IMG_0001.JPG", Pic(kDate, 6000)}, {n, Blob(7000)}},
       false,
       false,
       false,
       {n, "2009-08-12-120741-1.JPG"},
       {"IMG_0001.JPG--->2009-08-12-120741-1.JPG"},
       {}},
      {"SuffixesCountOn",
       {{"IMG_0001.JPG", Pic(kDate, 6000)},
        {n, Blob(7000)},
        {"2009-08-12-120741-1.JPG", Blob(8000)}},
       false,
       false,
       false,
       {n, "2009-08-12-120741-1.JPG", "2009-08-12-120741-2.JPG"},
       {"IMG_0001.JPG--->2009-08-12-120741-2.JPG"},
       {}},
      {"SameLengthOnASuffixIsTheSamePictureAndIsKept",
       {{"IMG_0001.JPG", Pic(kDate, 6000)},
        {n, Blob(7000)},
        {"2009-08-12-120741-1.JPG", Blob(6000)}},
       false,
       false,
       false,
       {"IMG_0001.JPG", n, "2009-08-12-120741-1.JPG"},
       {},
       {ProblemKind::RenameDeclined}},
      {"PictureWithItsNameKeepsIt",
       {{n, Pic(kDate)}},
       false,
       false,
       false,
       {n},
       {n + "--->" + n},
       {}},
      {"MovedIntoDateSubDirectoryAndMetThere",
       {{"IMG_0001.JPG", Pic(kDate)}},
       true,
       false,
       false,
       {"2009-08-12/" + n},
       {"2009-08-12/" + n + "--->2009-08-12/" + n, "IMG_0001.JPG--->" + n},
       {}},
      {"PictureWithItsNameIsMovedInToo",
       {{n, Pic(kDate)}},
       true,
       false,
       false,
       {"2009-08-12/" + n},
       {"2009-08-12/" + n + "--->2009-08-12/" + n, n + "--->" + n},
       {}},
      {"DirectoryNamedAfterTheDateMeansNoMove",
       {{"2009-08-12 Trip/IMG_0001.JPG", Pic(kDate)}},
       true,
       false,
       false,
       {"2009-08-12 Trip/" + n},
       {"2009-08-12 Trip/IMG_0001.JPG--->2009-08-12 Trip/" + n},
       {}},
      {"DateAnywhereInThePathMeansNoMove",
       {{"2009-08-12/Card1/IMG_0001.JPG", Pic(kDate)}},
       true,
       false,
       false,
       {"2009-08-12/Card1/" + n},
       {"2009-08-12/Card1/IMG_0001.JPG--->2009-08-12/Card1/" + n},
       {}},
      {"SubDirectorySuffixRestartsFromTheBareName",
       {{"IMG_0001.JPG", Pic(kDate, 6000)}, {n, Blob(7000)}},
       true,
       false,
       false,
       {n, "2009-08-12/" + n},
       {"IMG_0001.JPG--->2009-08-12-120741-1.JPG", "2009-08-12/" + n + "--->2009-08-12/" + n},
       {}},
      {"SubDirectoryClashGetsSuffix",
       {{"IMG_0001.JPG", Pic(kDate, 6000)}, {"2009-08-12/" + n, Pic(kDate, 7000)}},
       true,
       false,
       false,
       {"2009-08-12/" + n, "2009-08-12/2009-08-12-120741-1.JPG"},
       {"2009-08-12/2009-08-12-120741-1.JPG--->2009-08-12/2009-08-12-120741-1.JPG",
        "2009-08-12/" + n + "--->2009-08-12/" + n, "IMG_0001.JPG--->" + n},
       {}},
      {"DateDirectoryNameTakenByAFile",
       {{"IMG_0001.JPG", Pic(kDate)}, {"2009-08-12", std::vector<std::uint8_t>{'x'}}},
       true,
       false,
       false,
       {n, "2009-08-12"},
       {"IMG_0001.JPG--->" + n},
       {ProblemKind::SubDirectoryMoveFailed}},
  };
}

class RenameStepTableTest : public testing::TestWithParam<StepCase> {};

TEST_P(RenameStepTableTest, EndsWithTheseFilesAndLines) {
  const StepCase& c = GetParam();
  test::TempTree tree, listDir;
  for (const auto& [path, bytes] : c.before)
    tree.Write(path, bytes);
  auto contentsBefore = tree.Files();
  test::FaultyFileSystem fs;
  test::RecordingFrontEnd frontEnd;
  frontEnd.options = RenameOptions{c.subDirectory, c.maker, c.model};
  RenameRun run(fs, frontEnd);
  test::HarnessRun result = test::RunTree(tree, listDir, run);

  ASSERT_EQ(result.outcome.status, RunStatus::Completed) << result.outcome.reason;
  auto after = tree.Files();
  std::multiset<std::string> before, now;
  for (const auto& [p, content] : contentsBefore)
    before.insert(content);
  for (const auto& [p, content] : after)
    now.insert(content);
  EXPECT_EQ(before, now) << "no picture is lost or overwritten";
  EXPECT_EQ(run.RenameCount(), static_cast<std::int64_t>(result.lines.size()));

  std::set<std::string> names;
  for (const auto& [p, content] : after)
    names.insert(p);
  EXPECT_EQ(names, c.after);
  EXPECT_EQ(test::Sorted(result.lines), test::Sorted(c.lines));
  std::vector<ProblemKind> kinds;
  for (const Problem& p : frontEnd.problems)
    kinds.push_back(p.kind);
  EXPECT_EQ(kinds, c.problems);
}

INSTANTIATE_TEST_SUITE_P(Step, RenameStepTableTest, testing::ValuesIn(StepCases()),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(RenameStepTest, ReplacingNeedsTheFrontEndsYes) {
  for (ReplaceAnswer answer : {ReplaceAnswer::Keep, ReplaceAnswer::Replace}) {
    test::TempTree tree, listDir;
    tree.Write("IMG_0001.JPG", Pic(kDate, 6000, "new"));
    tree.Write(kName, Blob(6000));  // as long as the picture: taken for the same one
    test::FaultyFileSystem fs;
    test::RecordingFrontEnd frontEnd;
    frontEnd.options.DateDirectories = false;
    frontEnd.replaceAnswer = answer;
    RenameRun run(fs, frontEnd);
    test::HarnessRun result = test::RunTree(tree, listDir, run);
    ASSERT_EQ(frontEnd.questions.size(), 1u);
    EXPECT_EQ(frontEnd.questions[0].picturePath, tree.PathOf("IMG_0001.JPG"));
    EXPECT_EQ(frontEnd.questions[0].existingPath, tree.PathOf(kName));
    if (answer == ReplaceAnswer::Keep) {
      EXPECT_TRUE(tree.IsFile("IMG_0001.JPG"));
      EXPECT_EQ(run.RenameCount(), 0);
      EXPECT_TRUE(result.lines.empty());
      EXPECT_TRUE(frontEnd.HasProblem(ProblemKind::RenameDeclined));
    } else {
      EXPECT_FALSE(tree.IsFile("IMG_0001.JPG"));
      EXPECT_NE(tree.Read(kName).find("new"), std::string::npos);
      EXPECT_EQ(run.RenameCount(), 1);
      EXPECT_EQ(result.lines, std::vector<std::string>{"IMG_0001.JPG--->" + std::string(kName)});
    }
  }
}

TEST(RenameStepTest, ShowsPictureThenCountWithHandOvers) {
  test::TempTree tree, listDir;
  tree.Write("sub/IMG_0001.JPG", Pic(kDate));
  test::FaultyFileSystem fs;
  test::RecordingFrontEnd frontEnd;
  frontEnd.options = RenameOptions{false, true, false};
  RenameRun run(fs, frontEnd);
  test::RunTree(tree, listDir, run, tree.PathOf("sub"));
  std::vector<std::string> expected = {"dir " + tree.PathOf("sub/"),
                                       "handover",
                                       "picture IMG_0001.JPG ACME-" + std::string(kName),
                                       "handover",
                                       "count 1",
                                       "handover"};
  EXPECT_EQ(frontEnd.events, expected);
  ASSERT_EQ(frontEnd.pictures.size(), 1u);
  EXPECT_EQ(frontEnd.pictures[0].DateText, "2009:08:12");
  EXPECT_EQ(frontEnd.pictures[0].TimeText, "12:07:41");
}

TEST(RenameStepTest, OptionsChangedDuringARunApplyFromTheNextReading) {
  test::TempTree tree, listDir;
  tree.Write("a/1.JPG", Pic("2001:01:01 01:01:01"));
  tree.Write("a/2.JPG", Pic("2002:02:02 02:02:02"));
  test::FaultyFileSystem fs;
  test::RecordingFrontEnd frontEnd;
  frontEnd.options = RenameOptions{true, false, false};
  frontEnd.onHandOver = [](test::RecordingFrontEnd& f) {
    if (f.events.size() >= 2 && f.events[f.events.size() - 2] == "count 1") {
      f.options = RenameOptions{false, true, false};  // clicked after the first picture
    }
  };
  RenameRun run(fs, frontEnd);
  test::HarnessRun result = test::RunTree(tree, listDir, run, tree.PathOf("a"));
  // The first picture was moved with the box still ticked; when the walk
  // meets it again in its date directory the maker box is ticked, so it
  // gets the maker's name there.
  EXPECT_TRUE(tree.IsFile("a/2001-01-01/ACME-2001-01-01-010101.JPG"));
  EXPECT_TRUE(tree.IsFile("a/ACME-2002-02-02-020202.JPG"));
  EXPECT_EQ(test::Sorted(result.lines),
            test::Sorted(
                {"a/1.JPG--->a/2001-01-01-010101.JPG", "a/2.JPG--->a/ACME-2002-02-02-020202.JPG",
                 "a/2001-01-01/2001-01-01-010101.JPG--->a/2001-01-01/ACME-2001-01-01-010101.JPG"}));
}

TEST(RenameStepTest, GivesUpAtTheSuffixLimit) {
  test::TempTree tree, listDir;
  tree.Write("IMG_0001.JPG", Pic(kDate, 6000));
  test::FaultyFileSystem fs;
  int asked = 0;
  fs.pretendExists = [&](const std::string& path) {
    if (path.find("2009-08-12-120741") == std::string::npos) return false;
    ++asked;
    return true;
  };
  fs.fakeSize = 1;
  test::RecordingFrontEnd frontEnd;
  frontEnd.options.DateDirectories = false;
  RenameRun run(fs, frontEnd);
  test::HarnessRun result = test::RunTree(tree, listDir, run);
  EXPECT_EQ(asked, 32767) << "the bare name and suffixes 1 to 32766 are tried";
  EXPECT_TRUE(frontEnd.HasProblem(ProblemKind::NoFreeName));
  EXPECT_TRUE(tree.IsFile("IMG_0001.JPG"));
  EXPECT_EQ(run.RenameCount(), 0);
}

}  // namespace
}  // namespace tessaly
