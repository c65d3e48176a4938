#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engine/RenameRun.h"
#include "tests/support/ExifWriter.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempTree.h"

namespace tessaly::test {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

// A picture by ACME, model Z100, taken at `dateTime`, `size` bytes long,
// told apart from others of its size by `id`.
inline Bytes Pic(std::string_view dateTime, std::size_t size = 6000, std::string_view id = "") {
  return CameraPicture(dateTime, "ACME", "Z100", Order::Intel, size, id);
}
// A file of `size` bytes that is no picture.
inline Bytes Blob(std::size_t size) {
  return Bytes(size, 'x');
}
inline Lines Sorted(Lines v) {
  std::sort(v.begin(), v.end());
  return v;
}

// A front end for tests: options as set, calls counted, every replace
// question answered as set (no, unless told), a stop after a chosen number of
// hand-overs, problems kept.
struct RecordingFrontEnd final : FrontEnd {
  RenameOptions options;
  std::vector<RenameOptions> optionsByReading;  // when given, the Nth reading's (the last after)
  std::size_t readings = 0;
  ReplaceAnswer answer = ReplaceAnswer::Keep;
  int stopAfterHandOvers = -1, handOvers = 0;  // never stops when negative
  int shown = 0, questions = 0;                // directories, pictures and counts shown
  std::vector<Problem> problems;

  RenameOptions ReadOptions() override {
    if (optionsByReading.empty()) return options;
    return optionsByReading[std::min(readings++, optionsByReading.size() - 1)];
  }
  void ShowDirectory(std::string_view) override { ++shown; }
  void ShowPicture(const ShownPicture&) override { ++shown; }
  void ShowCount(std::int64_t) override { ++shown; }
  RunControl HandOver() override {
    return ++handOvers == stopAfterHandOvers ? RunControl::Stop : RunControl::Continue;
  }
  ReplaceAnswer AskReplace(const ReplaceQuestion&) override { return ++questions, answer; }
  void ReportProblem(const Problem& problem) override { problems.push_back(problem); }
  std::vector<ProblemKind> ProblemKinds() const {
    std::vector<ProblemKind> kinds;
    for (const Problem& p : problems)
      kinds.push_back(p.kind);
    return kinds;
  }
};

// The lines of a rename list, split at CR LF, with `root` taken out of every
// path and "/" for the separator, so that tables can name paths relative to
// it.
inline Lines ListLines(const std::string& content, const std::string& root) {
  Lines lines;
  for (std::size_t start = 0, end; start < content.size(); start = end + 2) {
    end = std::min(content.find("\r\n", start), content.size());
    std::string line = content.substr(start, end - start);
    for (std::size_t at; (at = line.find(root)) != std::string::npos;)
      line.erase(at, root.size());
    lines.push_back(TempTree::Slashed(line));
  }
  return lines;
}

// A tree, a place for its list beside it (outside it, so the walk does not
// meet it), the file system with listings in name order, a recording front
// end (no date sub-directories unless asked for) and a run.
struct EngineFixture {
  TempTree tree, listDir;
  FaultyFileSystem fs;
  RecordingFrontEnd frontEnd;
  RenameRun run{fs, frontEnd};
  RunOutcome outcome;  // the latest run's

  explicit EngineFixture(const std::vector<std::pair<std::string, Bytes>>& files = {},
                         RenameOptions options = {false, false, false}) {
    frontEnd.options = options;
    for (const auto& [path, bytes] : files)
      tree.Write(path, bytes);
  }
  // Runs the engine on `start` (the tree's root when empty); the lines of
  // its list, relative to the root.
  Lines Run(const std::string& start = "", RunStatus expected = RunStatus::Completed) {
    outcome = run.StartRun(
        start.empty() ? tree.Root() : start,
        RenameListPlace{listDir.PathOf("Rename_List.TXT"), "", "", listDir.PathOf("journals")});
    EXPECT_EQ(outcome.status, expected) << outcome.reason;
    return ListLines(listDir.Read("Rename_List.TXT"), tree.Root());
  }
  // Every file with a hash of its content and every directory (ending in
  // "/", hash 0), by path relative to the root: what undo must give back.
  std::map<std::string, std::size_t> Snapshot() const {
    std::map<std::string, std::size_t> snapshot;
    for (const auto& [path, content] : tree.Files())
      snapshot[path] = std::hash<std::string>()(content);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.Root())) {
      if (entry.is_directory()) snapshot[entry.path().string().substr(tree.Root().size()) + "/"];
    }
    return snapshot;
  }
};

}  // namespace tessaly::test
