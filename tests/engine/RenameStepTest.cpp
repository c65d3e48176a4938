#include "engine/RenameStep.h"

#include <gtest/gtest.h>

#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using test::Blob;
using test::Lines;
using test::Pic;

constexpr const char* kDate = "2009:08:12 12:07:41";
constexpr RenameOptions kPlain{false, false, false}, kSub{true, false, false};
constexpr ProblemKind kDeclined = ProblemKind::RenameDeclined;

TEST(RenameStepTest, EndsWithTheseFilesLinesAndProblems) {
  const std::string n = "2009-08-12-120741.JPG", n1 = "2009-08-12-120741-1.JPG",
                    n2 = "2009-08-12-120741-2.JPG", d = "2009-08-12/", a = "IMG.JPG--->";
  // clang-format off
  const struct {
    const char* why; std::vector<std::pair<std::string, test::Bytes>> before; RenameOptions options;
    Lines after, lines; std::vector<ProblemKind> problems = {};
  } cases[] = {
      {"renamed after its date, extension in capitals", {{"img.jpg", Pic(kDate)}}, kPlain, {n}, {"img.jpg--->" + n}},
      {"maker and model in front", {{"IMG.JPG", Pic(kDate)}}, {false, true, true}, {"ACME-Z100-" + n},
       {a + "ACME-Z100-" + n}},
      {"a rejected header is left alone", {{"x.jpg", Blob(100)}}, kPlain, {"x.jpg"}, {}},
      {"no date, no name", {{"x.jpg", test::ExifWriter().Size(5000).Bytes()}}, kPlain, {"x.jpg"}, {}},
      {"a leading zero is left alone", {{"x.jpg", Pic("0000:00:00 00:00:00")}}, kPlain, {"x.jpg"}, {}},
      {"another length gets a suffix", {{"IMG.JPG", Pic(kDate)}, {n, Blob(7000)}}, kPlain, {n, n1}, {a + n1}},
      {"suffixes count on", {{"IMG.JPG", Pic(kDate)}, {n, Blob(7000)}, {n1, Blob(8000)}}, kPlain, {n, n1, n2},
       {a + n2}},
      {"the same length on a suffix is the same picture: kept",
       {{"IMG.JPG", Pic(kDate)}, {n, Blob(7000)}, {n1, Blob(6000)}}, kPlain, {"IMG.JPG", n, n1}, {}, {kDeclined}},
      {"a picture with its name keeps it", {{n, Pic(kDate)}}, kPlain, {n}, {n + "--->" + n}},
      {"moved into its date directory and met there", {{"IMG.JPG", Pic(kDate)}}, kSub, {d + n},
       {a + n, d + n + "--->" + d + n}},
      {"a picture with its name is moved in too", {{n, Pic(kDate)}}, kSub, {d + n},
       {n + "--->" + n, d + n + "--->" + d + n}},
      {"the date anywhere in the path means no move", {{d + "Card1/IMG.JPG", Pic(kDate)}}, kSub,
       {d + "Card1/" + n}, {d + "Card1/" + a + d + "Card1/" + n}},
      {"the date in the path in other letter case means no move", {{"2009-ab-12 x/IMG.JPG",
       Pic("2009:AB:12 12:07:41")}}, kSub, {"2009-ab-12 x/2009-AB-12-120741.JPG"},
       {"2009-ab-12 x/" + a + "2009-ab-12 x/2009-AB-12-120741.JPG"}},
      {"the search restarts from the bare name in the date directory", {{"IMG.JPG", Pic(kDate)},
       {n, Blob(7000)}}, kSub, {d + n, n}, {a + n1, d + n + "--->" + d + n}},
      {"the same length in the date directory gets a suffix, which is kept", {{"IMG.JPG", Pic(kDate)},
       {d + n, Blob(6000)}}, kSub, {d + n, d + n1}, {a + n, d + n1 + "--->" + d + n1}},
      {"the date directory's name taken by a file", {{"IMG.JPG", Pic(kDate)}, {"2009-08-12", {}}}, kSub,
       {"2009-08-12", n}, {a + n}, {ProblemKind::SubDirectoryMoveFailed}},
  };
  // clang-format on
  for (const auto& c : cases) {
    test::EngineFixture f(c.before, c.options);
    std::multiset<std::size_t> contents = f.Contents();
    Lines lines = f.Run();
    EXPECT_EQ(f.Contents(), contents) << c.why << ": nothing lost or overwritten";
    EXPECT_EQ(f.Names(), test::Sorted(c.after)) << c.why;
    EXPECT_EQ(test::Sorted(lines), test::Sorted(c.lines)) << c.why;
    EXPECT_EQ(f.run.RenameCount(), static_cast<std::int64_t>(c.lines.size())) << c.why;
    EXPECT_EQ(f.frontEnd.ProblemKinds(), c.problems) << c.why;
  }
}

TEST(RenameStepTest, ReplacingNeedsTheFrontEndsYes) {
  for (ReplaceAnswer answer : {ReplaceAnswer::Keep, ReplaceAnswer::Replace}) {
    // A file of the picture's length under its new name counts as the same picture.
    test::EngineFixture f(
        {{"IMG.JPG", Pic(kDate, 6000, "new")}, {"2009-08-12-120741.JPG", Blob(6000)}});
    f.frontEnd.replaceAnswer = answer;
    Lines lines = f.Run();
    bool replaced = answer == ReplaceAnswer::Replace;
    ASSERT_EQ(f.frontEnd.questions.size(), 1u);
    EXPECT_EQ(f.frontEnd.questions[0].picturePath + " " + f.frontEnd.questions[0].existingPath,
              f.tree.PathOf("IMG.JPG") + " " + f.tree.PathOf("2009-08-12-120741.JPG"));
    EXPECT_EQ(f.tree.Read("2009-08-12-120741.JPG").ends_with("new"), replaced);
    EXPECT_EQ(lines, replaced ? Lines{"IMG.JPG--->2009-08-12-120741.JPG"} : Lines{});
    EXPECT_EQ(f.frontEnd.problems.size(), replaced ? 0u : 1u);
  }
}

TEST(RenameStepTest, ShowsThePictureThenTheCountWithHandOvers) {
  test::EngineFixture f({{"sub/IMG_0001.JPG", Pic(kDate)}}, {false, true, false});
  f.Run(f.tree.PathOf("sub"));
  EXPECT_EQ(f.frontEnd.events,
            Lines({"dir " + f.tree.PathOf("sub/"), "handover",
                   "picture IMG_0001.JPG ACME-2009-08-12-120741.JPG 2009:08:12 12:07:41",
                   "handover", "count 1", "handover"}));
}

TEST(RenameStepTest, OptionsChangedDuringARunApplyFromTheNextReading) {
  test::EngineFixture f({{"1.JPG", Pic("2001:01:01 01:01:01")}, {"2.JPG", Pic(kDate)}}, kSub);
  f.frontEnd.onHandOver = [](test::RecordingFrontEnd& fe) {
    if (fe.events.end()[-2] == "count 1")
      fe.options = {false, true, false};  // ticked after picture 1
  };
  // The first picture was moved with the box still ticked; met again in its
  // date directory, it gets the maker's name there.
  EXPECT_EQ(test::Sorted(f.Run()),
            Lines({"1.JPG--->2001-01-01-010101.JPG", "2.JPG--->ACME-2009-08-12-120741.JPG",
                   "2001-01-01/2001-01-01-010101.JPG--->2001-01-01/ACME-2001-01-01-010101.JPG"}));
}

TEST(RenameStepTest, GivesUpAtTheSuffixLimit) {
  test::EngineFixture f({{"IMG.JPG", Pic(kDate)}});
  int asked = 0;
  f.fs.pretendExists = [&](const std::string& path) {
    return path.find("2009-08-12-120741") != std::string::npos && ++asked > 0;
  };
  f.Run();
  EXPECT_EQ(asked, 32767) << "the bare name and suffixes 1 to 32766 are tried";
  EXPECT_EQ(f.frontEnd.ProblemKinds(), std::vector{ProblemKind::NoFreeName});
}

}  // namespace
}  // namespace tessaly
