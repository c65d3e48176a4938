#include "engine/RenameStep.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using test::Blob;
using test::Lines;
using test::Pic;

constexpr const char* kDate = "2009:08:12 12:07:41";
constexpr RenameOptions kPlain{false, false, false}, kSub{true, false, false};

// The rename step and the walk, on the real file system with listings in
// name order: every file afterwards, the list's lines in order, the problems.
TEST(RenameStepTest, EndsWithTheseFilesLinesAndProblems) {
  const std::string n = "2009-08-12-120741.JPG", n1 = "2009-08-12-120741-1.JPG", d = "2009-08-12/",
                    a = "IMG.JPG--->", n2 = "2009-08-12-120741-2.JPG",
                    n3 = "2009-08-12-120741-3.JPG", n01 = "2009-08-12-120741-01.JPG",
                    n1a = "2009-08-12-120741-1a.JPG";
  const std::string one = "2001-01-01-010101.JPG", two = "2002-02-02-020202.JPG";
  using enum ProblemKind;
  // clang-format off
  const struct {
    const char* why; std::vector<std::pair<std::string, test::Bytes>> before; RenameOptions options;
    Lines after, lines; std::vector<ProblemKind> problems = {};
    Lines links = {};  // "name>target": symbolic links made first
    std::string named = "";  // when given, the file the last problem names at its end
  } cases[] = {
      {"a rejected header is left alone", {{"x.jpg", Blob(100)}}, kPlain, {"x.jpg"}, {}},
      {"a header past the reader's limits is reported", {{"x.jpg", test::ExifWriter().Entry(0x010F, 5, 40000)
       .Bytes()}}, kPlain, {"x.jpg"}, {}, {HeaderLimit}},
      {"a leading zero is left alone", {{"x.jpg", Pic("0000:00:00 00:00:00")}}, kPlain, {"x.jpg"}, {}},
      {"of several files of its length, the first is the one asked about", {{"A.JPG", Pic(kDate, 7000)}, {"B.JPG",
       Pic(kDate)}, {n, Blob(5000)}, {n1, Blob(6000)}, {n2, Blob(6000)}}, kPlain, {"B.JPG", n, n1, n2, n3}, {"A.JPG--->" + n3},
       {RenameDeclined}, {}, n1},
      {"-01 and -1a are not suffixes of the program's: a copy there is asked about", {{n01, Pic(kDate)}, {n1a,
       Pic(kDate)}, {n, Blob(6000)}}, kPlain, {n01, n1a, n}, {}, {RenameDeclined, RenameDeclined}, {}, n},
      {"a copy of the bare name's length at the program's own suffix keeps its name", {{n1, Pic(kDate)}, {n, Blob(6000)}},
       kPlain, {n, n1}, {n1 + "--->" + n1}},
      {"a name freed during the run is taken again", {{"A.JPG", Pic(kDate)}, {"ACME-Z100-" + n,
       Pic("2010:01:01 00:00:00", 7000)}, {"B.JPG", Pic(kDate, 6001)}}, {false, true, true}, {"ACME-Z100-" + n1,
       "ACME-Z100-2010-01-01-000000.JPG", "ACME-Z100-" + n}, {"A.JPG--->ACME-Z100-" + n1, "ACME-Z100-" + n +
       "--->ACME-Z100-2010-01-01-000000.JPG", "B.JPG--->ACME-Z100-" + n}},
      {"pictures first, then sub-directories depth first; hidden directories left", {{"s1/deep/c.JPG",
       Pic("2003:03:03 03:03:03")}, {"s2/d.JPG", Pic("2004:04:04 04:04:04")}, {"a.JPG", Pic("2001:01:01 01:01:01")},
       {".hidden/e.JPG", Pic(kDate)}, {".f.JPG", Pic("2002:02:02 02:02:02")}, {"album.JPG/g.JPG", Pic(kDate)}}, kPlain,
       {".hidden/e.JPG", one, two, "album.JPG/" + n, "s1/deep/2003-03-03-030303.JPG", "s2/2004-04-04-040404.JPG"},
       {".f.JPG--->" + two, "a.JPG--->" + one, "album.JPG/g.JPG--->album.JPG/" + n,
        "s1/deep/c.JPG--->s1/deep/2003-03-03-030303.JPG", "s2/d.JPG--->s2/2004-04-04-040404.JPG"}},
      {"links are neither renamed nor entered", {{"real/IMG.JPG", Pic(kDate)}}, kPlain, {"real/" + n},
       {"real/" + a + "real/" + n}, {NotRegularFile, LinkNotFollowed}, {"link>real", "pic.JPG>real/IMG.JPG"}},
      {"the date in the path in other letter case means no move", {{"2009-ab-12 x/IMG.JPG",
       Pic("2009:AB:12 12:07:41")}}, kSub, {"2009-ab-12 x/2009-AB-12-120741.JPG"},
       {"2009-ab-12 x/" + a + "2009-ab-12 x/2009-AB-12-120741.JPG"}},
      {"the same length in the date directory gets a suffix, which is kept", {{"IMG.JPG", Pic(kDate)},
       {d + n, Blob(6000)}}, kSub, {d + n, d + n1}, {a + n, d + n1 + "--->" + d + n1}},
      {"the date directory's name taken by a file", {{"IMG.JPG", Pic(kDate)}, {"2009-08-12", {}}}, kSub,
       {"2009-08-12", n}, {a + n}, {SubDirectoryMoveFailed}},
  };
  // clang-format on
  for (const auto& c : cases) {
    test::EngineFixture f(c.before, c.options);
#ifdef _WIN32
    if (!c.links.empty()) continue;  // Wine makes no links
#else
    for (const std::string& link : c.links) {
      std::string target = f.tree.PathOf(link.substr(link.find('>') + 1));
      ASSERT_EQ(symlink(target.c_str(), f.tree.PathOf(link.substr(0, link.find('>'))).c_str()), 0);
    }
#endif
    const auto contents = f.tree.Contents();
    EXPECT_EQ(f.Run(), c.lines) << c.why;
    EXPECT_EQ(f.tree.Contents(), contents) << c.why << ": nothing lost or overwritten";
    EXPECT_EQ(f.tree.Names(), test::Sorted(c.after)) << c.why;
    EXPECT_EQ(f.run.RenameCount(), static_cast<std::int64_t>(c.lines.size())) << c.why;
    EXPECT_EQ(f.frontEnd.ProblemKinds(), c.problems) << c.why;
    EXPECT_TRUE(c.named.empty() ||
                f.frontEnd.problems.back().reason.ends_with(f.tree.PathOf(c.named)))
        << c.why;
  }
}

TEST(RenameStepTest, ABurstOfOneSecondCostsAFewLookUpsAPicture) {
  constexpr int kPictures = 300;
  test::EngineFixture f;
  for (int i = 0; i < kPictures; ++i) {
    f.tree.Write("IMG_" + std::to_string(1000 + i) + ".JPG",
                 Pic(kDate, 6000 + static_cast<std::size_t>(i)));
  }
  int lookUps = 0;
  f.fs.pretendExists = [&](const std::string&) { return ++lookUps < 0; };
  Lines lines = f.Run();
  ASSERT_EQ(lines.size(), std::size_t{kPictures});
  EXPECT_EQ(lines.back(), "IMG_1299.JPG--->2009-08-12-120741-299.JPG") << "the same names as ever";
  EXPECT_LT(lookUps, 4 * kPictures);
}

TEST(RenameStepTest, GivesUpAtTheSuffixLimit) {
  test::EngineFixture f({{"IMG.JPG", Pic(kDate)}});
  int asked = 0;
  f.fs.pretendExists = [&](const std::string& path) {
    return path.find("2009-08-12-120741") != std::string::npos && ++asked > 0;
  };
  f.Run();
  EXPECT_EQ(asked, 1 + 32767) << "the rename tried at once, then the bare name and suffixes 1 to "
                                 "32766 looked up";
  EXPECT_EQ(f.frontEnd.ProblemKinds(), std::vector{ProblemKind::NoFreeName});
}

// The model box is read first, then the maker box, once a picture: a box
// ticked between the two readings counts from its own reading on.
TEST(RenameStepTest, ReadsTheModelBoxThenTheMakerBox) {
  test::EngineFixture f(
      {{"IMG.JPG", test::CameraPicture(kDate, "ACME", "Z1", test::Order::Intel, 6000, "")}});
  f.frontEnd.optionsByReading = {{false, false, true}, {false, true, false}};
  f.Run();
  EXPECT_EQ(f.tree.Names(), Lines{"ACME-Z1-2009-08-12-120741.JPG"});
}

}  // namespace
}  // namespace tessaly
