#include "cli/UndoCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine/Journal.h"
#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

using test::Lines;

TEST(UndoCommandTest, OptionsExitStatusAndOutput) {
  // clang-format off
  const struct { const char* why; Lines arguments; std::function<void(test::TempTree&)> meanwhile; int status;
                 std::string out, err; const char* tree; bool heldByARun = false;
                 ReplaceAnswer answer = ReplaceAnswer::Keep; } cases[] = {
      {"a preview changes nothing", {"--dry-run"}, nullptr, 0,
       "Preview: would move back 2, remove 1 directories, left 0 as they are; nothing was changed\n", "", "as the run left it"},
      {"the latest journal undone", {}, nullptr, 0, "Moved back 2, removed 1 directories, left 0 as they are", "", "as before the run"},
      {"an old name taken again: nothing moves", {}, [](test::TempTree& t) { t.Write("IMG_0001.JPG", "new"); }, 1,
       "left 2 as they are", "IMG_0001.JPG is taken now", "as the run left it"},
      {"a journal named that cannot be read", {"JOURNALSnone.jsonl"}, nullptr, 2, "", "nothing was undone", "as the run left it"},
      {"a journal a run still holds", {}, nullptr, 2, "", "a run is still using it; nothing was undone", "as the run left it", true},
      {"a file the run replaced after a yes is lost", {}, nullptr, 1, "left 0 as they are, 1 replaced files lost",
       "replaced after a yes and cannot come back", "partly undone", false, ReplaceAnswer::Replace},
  };
  // clang-format on
  for (const auto& c : cases) {
    test::TempTree tree, state;
    tree.Write("IMG_0001.JPG", test::Pic("2009:08:12 12:07:41"));
    if (c.answer == ReplaceAnswer::Replace) tree.Write("2009-08-12-120741.JPG", test::Blob(6000));
    const auto before = tree.Files();
    test::FaultyFileSystem fs;
    test::RecordingFrontEnd renaming;  // as the window's run: it may be told to replace
    renaming.options.dateDirectories = true;
    renaming.answer = c.answer;
    std::ostringstream out, err;
    ASSERT_EQ(RenameRun(fs, renaming)
                  .StartRun(tree.Root(), {state.PathOf("list"), "", "", state.PathOf("journals")})
                  .status,
              RunStatus::Completed);
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
