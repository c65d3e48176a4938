#include "cli/UndoCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/RenameCommand.h"
#include "engine/Journal.h"
#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using test::Lines;

TEST(UndoCommandTest, OptionsExitStatusAndOutput) {
  // clang-format off
  const struct { const char* why; Lines arguments; std::function<void(test::TempTree&)> meanwhile; int status;
                 std::string out, err; const char* tree; bool heldByARun = false; } cases[] = {
      {"a preview changes nothing", {"--dry-run"}, nullptr, 0,
       "Preview: would move back 2, remove 1 directories, left 0 as they are; nothing was changed\n", "", "as the run left it"},
      {"the latest journal undone", {}, nullptr, 0, "Moved back 2, removed 1 directories, left 0 as they are", "", "as before the run"},
      {"an old name taken again: nothing moves", {}, [](test::TempTree& t) { t.Write("IMG_0001.JPG", "new"); }, 1,
       "left 2 as they are", "IMG_0001.JPG is taken now", "as the run left it"},
      {"a journal named that cannot be read", {"JOURNALSnone.jsonl"}, nullptr, 2, "", "nothing was undone", "as the run left it"},
      {"a journal a run still holds", {}, nullptr, 2, "", "a run is still using it; nothing was undone", "as the run left it", true},
  };
  // clang-format on
  for (const auto& c : cases) {
    test::TempTree tree, state;
    tree.Write("IMG_0001.JPG", test::Pic("2009:08:12 12:07:41"));
    const auto before = tree.Files();
    test::FaultyFileSystem fs;
    std::ostringstream renameOut, out, err;
    const Lines rename = {"--list", state.PathOf("list"), tree.Root()};
    ASSERT_EQ(
        RunRenameCommand(rename, fs, {"", "", "", state.PathOf("journals")}, false, renameOut, err),
        0);
    if (c.meanwhile) c.meanwhile(tree);
    const auto after = tree.Files();
    auto held = HoldJournal(fs, c.heldByARun ? LatestJournal(fs, state.PathOf("journals")) : "");
    Lines arguments;
    for (std::string a : c.arguments)
      arguments.push_back(a.starts_with("JOURNALS") ? state.PathOf("journals/") + a.substr(8) : a);
    EXPECT_EQ(RunUndoCommand(arguments, fs, state.PathOf("journals"), out, err), c.status) << c.why;
    EXPECT_NE(out.str().find(c.out), std::string::npos) << c.why << ": " << out.str();
    EXPECT_NE(err.str().find(c.err), std::string::npos) << c.why << ": " << err.str();
    const std::string now = tree.Files() == before  ? "as before the run"
                            : tree.Files() == after ? "as the run left it"
                                                    : "partly undone";
    EXPECT_EQ(now, c.tree) << c.why;
  }
}

}  // namespace
}  // namespace tessaly
