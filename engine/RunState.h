#pragma once

#include <cstdint>
#include <string>

#include "engine/FrontEnd.h"
#include "engine/RenameList.h"
#include "engine/SuffixMemory.h"
#include "platform/FileSystem.h"

namespace tessaly {

// What the steps of one run share: the services, the count that outlives
// runs, the directory being walked (the one the rename step builds its
// targets from), what the clash searches learnt, and whether the run is to
// stop.
struct RunState {
  FileSystem& fileSystem;
  FrontEnd& frontEnd;
  RenameList& renameList;
  std::int64_t& renameCount;
  std::string walkedDirectory = {};  // ends in "/"
  SuffixMemory suffixes = {};
  bool stopRequested = false;

  void HandOver() {
    if (frontEnd.HandOver() == RunControl::Stop) stopRequested = true;
  }
  void Report(ProblemKind kind, std::string path, std::string reason) {
    frontEnd.ReportProblem(Problem{kind, std::move(path), std::move(reason)});
  }
};

}  // namespace tessaly
