#include "cli/RenameCommand.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>

#include "cli/CliFrontEnd.h"
#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using test::Lines;

TEST(RenameCommandTest, OptionsExitStatusAndOutput) {
  const std::string n = "2009-08-12-120741.JPG", img = "IMG_0001.JPG";
  // "ROOT" and "LIST" stand for the tree and a list beside it, "DEFAULT" for the default list.
  // clang-format off
  const struct { const char* why; Lines arguments; int status; Lines files; std::string out, err; } cases[] = {
      {"date directories and the default list", {"ROOT"}, 0, {"2009-08-12/" + n},
       "Rename list: DEFAULT\nRenamed 1, moved 1 into 1 date directories, passed over 0; journal: JOURNALS/", ""},
      {"maker", {"--no-subdir", "--maker", "--list", "LIST", "ROOT"}, 0, {"ACME-" + n},
       "Rename list: LIST\nRenamed 1, moved 0 into 0 date directories, passed over 0; journal: JOURNALS/", ""},
      {"model alone", {"--no-subdir", "--model", "--list", "LIST", "ROOT"}, 0, {"Z100-" + n}, "Count = 1\n", ""},
      {"-- ends the options", {"--list", "LIST", "--", "--no-subdir"}, 2, {img}, "",
       "--no-subdir/: No such file or directory; nothing was renamed"},
      {"an empty list name", {"--list", "", "ROOT"}, 2, {img}, "", "--list needs a file name"},
      {"--list as the last argument", {"ROOT", "--list"}, 2, {img}, "", "--list needs a file name"},
      {"an unknown option", {"--colour", "ROOT"}, 2, {img}, "", "unknown option --colour"},
  };
  // clang-format on
  for (const auto& c : cases) {
    test::TempTree tree, programDir;
    tree.Write(img, test::Pic("2009:08:12 12:07:41"));
    auto fill = [&](std::string text) {
      for (const auto& [word, path] : {std::pair{"ROOT", tree.Root()},
                                       {"DEFAULT", programDir.PathOf("Rename_List.TXT")},
                                       {"LIST", programDir.PathOf("list.txt")},
                                       {"JOURNALS", programDir.PathOf("journals")}}) {
        for (std::size_t at; (at = text.find(word)) != std::string::npos;)
          text.replace(at, std::strlen(word), path);
      }
      return text;
    };
    Lines arguments;
    for (const std::string& a : c.arguments)
      arguments.push_back(fill(a));
    test::FaultyFileSystem fs;
    std::ostringstream out, err;
    RenameListPlace place{"", programDir.Root(), "", programDir.PathOf("journals")};
    EXPECT_EQ(RunRenameCommand(arguments, fs, place, false, out, err), c.status) << c.why;
    EXPECT_NE(out.str().find(NativePathText(fill(c.out))), std::string::npos)
        << c.why << ": " << out.str();
    const std::string last = out.str().substr(out.str().rfind('\n', out.str().size() - 2) + 1);
    EXPECT_EQ(last.starts_with("Rename Count = "), c.status != 2) << c.why << ": the last line";
    EXPECT_EQ(programDir.Files().empty(), c.status == 2) << c.why << ": list and journal";
    EXPECT_EQ(c.status == 2, out.str().empty()) << c.why;
    EXPECT_NE(err.str().find(NativePathText(c.err)), std::string::npos)
        << c.why << ": " << err.str();
    EXPECT_EQ(tree.Names(), c.files) << c.why;
  }
}

// Where the run would be refused for the places of its list or journal, the
// preview is refused with the same words, and makes nothing.
TEST(RenameCommandTest, APreviewIsRefusedWhereTheRunWouldBe) {
  const std::function<void(test::TempTree&, test::FaultyFileSystem&)> inTheWay[] = {
      [](test::TempTree& state, test::FaultyFileSystem&) { state.Write("journals", "a file"); },
      [](test::TempTree& state, test::FaultyFileSystem& fs) {  // a read-only state directory
        for (std::string call :
             {"create " + state.PathOf("Rename_List.TXT"), "mkdir " + state.PathOf("journals"),
              "write " + state.Root().substr(0, state.Root().size() - 1)})
          fs.fails[call] = std::errc::read_only_file_system;
      },
      [](test::TempTree& state, test::FaultyFileSystem&) { state.Write("Rename_List.TXT", "x"); },
  };
  for (const auto& setUp : inTheWay) {
    test::TempTree tree, state;
    tree.Write("IMG_0001.JPG", test::Pic("2009:08:12 12:07:41"));
    test::FaultyFileSystem fs;
    setUp(state, fs);
    const auto before = state.Files();
    RenameListPlace place{"", "", state.Root(), state.PathOf("journals")};
    std::ostringstream out, preview, run;
    EXPECT_EQ(RunRenameCommand(Lines{"--dry-run", tree.Root()}, fs, place, false, out, preview), 2);
    EXPECT_EQ(state.Files(), before);
    EXPECT_EQ(RunRenameCommand(Lines{tree.Root()}, fs, place, false, out, run), 2);
    EXPECT_EQ(preview.str(), run.str());
  }
}

TEST(RenameCommandTest, ARelativeDirectoryIsListedWithFullPaths) {
  test::TempTree tree, listDir;
  tree.Write("sub/IMG_0001.JPG", test::Pic("2009:08:12 12:07:41"));
  std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(tree.Root());
  test::FaultyFileSystem fs;
  std::ostringstream out, err;
  const Lines arguments = {"--no-subdir", "--list", listDir.PathOf("l"), "sub"};
  RunRenameCommand(arguments, fs, {}, false, out, err);
  std::filesystem::current_path(cwd);
  EXPECT_EQ(listDir.Read("l"), tree.PathOf("sub/IMG_0001.JPG") + "--->" +
                                   tree.PathOf("sub/2009-08-12-120741.JPG") + "\r\n");
}

TEST(CliFrontEndTest, ProgressLineOnlyOnATerminalAtMostTenTimesASecondClearedBeforeAProblem) {
  for (bool terminal : {false, true}) {
    std::ostringstream err;
    CliFrontEnd frontEnd(RenameOptions{}, err, terminal);
    frontEnd.ShowDirectory("/photos/card/");
    frontEnd.ShowCount(3);  // within a tenth of a second: not drawn again
    frontEnd.ReportProblem(Problem{ProblemKind::PictureUnreadable, "/photos/card/x.JPG", "gone"});
    frontEnd.EndProgress();
    EXPECT_EQ(err.str(), std::string(terminal ? "\r\x1b[K0 renamed  /photos/card/\r\x1b[K" : "") +
                             "tessaly-cli: /photos/card/x.JPG: gone\n");
    EXPECT_EQ(frontEnd.Problems(), 1);
  }
}

}  // namespace
}  // namespace tessaly
