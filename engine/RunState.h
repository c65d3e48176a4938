#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "engine/FrontEnd.h"
#include "engine/Journal.h"
#include "engine/RenameList.h"
#include "engine/SuffixMemory.h"
#include "platform/FileSystem.h"

namespace tessaly {

// What one run did, for its closing summary.
struct RunSummary {
  std::int64_t renamed = 0;  // pictures that got a new name
  std::int64_t movedIntoDateDirectories = 0;
  std::set<std::string> dateDirectories;  // those that took a picture
  std::int64_t passedOver = 0;            // pictures and directories reported and left
};

// What the steps of one run share: the services, the count that outlives
// runs, the directory being walked (the one the rename step builds its
// targets from), what the clash searches learnt, what the run did, and
// whether it is to stop. Without a journal the run keeps none; without a
// read-ahead every header waits for its own read.
struct RunState {
  FileSystem& fileSystem;
  FrontEnd& frontEnd;
  RenameList& renameList;
  std::int64_t& renameCount;
  Journal* journal = nullptr;
  ReadAhead* readAhead = nullptr;
  std::string walkedDirectory = {};  // ends in "/"
  SuffixMemory suffixes = {};
  RunSummary summary = {};
  bool stopRequested = false;

  void HandOver() {
    if (frontEnd.HandOver() == RunControl::Stop) stopRequested = true;
  }
  void Report(ProblemKind kind, std::string path, std::string reason) {
    if (kind != ProblemKind::SubDirectoryMoveFailed && kind != ProblemKind::JournalWriteFailed &&
        kind != ProblemKind::RenameListWriteFailed) {
      ++summary.passedOver;
    }
    frontEnd.ReportProblem(Problem{kind, std::move(path), std::move(reason)});
  }
};

}  // namespace tessaly
