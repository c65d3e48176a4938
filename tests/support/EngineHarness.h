#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "engine/RenameRun.h"
#include "tests/support/ExifWriter.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/RecordingFrontEnd.h"
#include "tests/support/TempTree.h"

namespace tessaly::test {

// A picture taken at `dateTime`, `size` bytes long, told apart from others
// of its size by `id`.
inline std::vector<std::uint8_t> Pic(std::string_view dateTime, std::size_t size = 6000,
                                     std::string_view id = "", std::string_view maker = "ACME",
                                     std::string_view model = "Z100") {
  return CameraPicture(dateTime, maker, model, Order::Intel, size, id);
}

// A file of `size` bytes that is no picture (its header is rejected).
inline std::vector<std::uint8_t> Blob(std::size_t size, char fill = 'x') {
  return std::vector<std::uint8_t>(size, static_cast<std::uint8_t>(fill));
}

// The lines of a rename list, split at CR LF, with the tree's root taken
// out of every path so that tables can name paths relative to it.
inline std::vector<std::string> ListLines(const std::string& content, const std::string& root) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find("\r\n", start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    for (std::size_t at; (at = line.find(root)) != std::string::npos;)
      line.erase(at, root.size());
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

inline std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// Runs the engine once on the tree's root, the rename list kept beside the
// tree (outside it, so the walk does not meet it).
struct HarnessRun {
  RunOutcome outcome;
  std::vector<std::string> lines;  // relative to the root
  std::string listBytes;
};

inline HarnessRun RunTree(TempTree& tree, TempTree& listDir, RenameRun& run,
                          const std::string& start = "") {
  RenameListPlace place;
  place.explicitPath = listDir.PathOf("Rename_List.TXT");
  HarnessRun result;
  result.outcome = run.StartRun(start.empty() ? tree.Root() : start, place);
  result.listBytes = listDir.Read("Rename_List.TXT");
  result.lines = ListLines(result.listBytes, tree.Root());
  return result;
}

// A tree, a place for its list, the file system with listings in name order,
// a recording front end (no date sub-directories unless switched on) and a
// run, for tests that run the engine on one tree.
struct EngineFixture {
  TempTree tree, listDir;
  FaultyFileSystem fs;
  RecordingFrontEnd frontEnd;
  RenameRun run{fs, frontEnd};
  EngineFixture() { frontEnd.options.DateDirectories = false; }
  HarnessRun Run(const std::string& start = "") { return RunTree(tree, listDir, run, start); }
  // Where an event stands among the front end's events; past the end when missing.
  std::size_t EventIndex(const std::string& event) const {
    auto it = std::find(frontEnd.events.begin(), frontEnd.events.end(), event);
    return static_cast<std::size_t>(it - frontEnd.events.begin());
  }
};

}  // namespace tessaly::test
