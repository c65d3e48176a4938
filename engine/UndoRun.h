#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/FrontEnd.h"
#include "engine/Journal.h"
#include "platform/FileSystem.h"

namespace tessaly {

// What undoing one journal did (or, over a preview file system, would do).
struct UndoOutcome {
  JournalReadFailure failure = JournalReadFailure::None;  // the journal could not be read
  std::string reason;
  std::int64_t movedBack = 0;
  std::int64_t directoriesRemoved = 0;
  std::int64_t alreadyUndone = 0;  // changes found undone, or never made
  std::int64_t refused = 0;        // changes left as they are, each reported
  std::int64_t lost = 0;           // files replaced by the run, each reported
  bool endsMidRecord = false;      // the journal's last line was cut short
  bool stopped = false;            // the front end asked to stop
};

// Reverses the changes that the journal at `path` records, newest first:
// each picture goes back to its old path, each directory the run made is
// removed when it is empty again. Nothing is ever replaced, and a file is
// moved back only when it is still at its new path with the identity that
// the journal recorded: a change whose file moved, was edited or replaced
// since, or whose old path is taken now, is reported (ProblemKind::NotUndone)
// and left as it is. A change whose picture is at its old path already
// (undone before, or never made because the run ended first) is counted as
// such. A file that the run replaced after a yes is reported as lost.
// `movedBack`, when given, hears of each picture moved back (its new path,
// then its old one) as it happens. The journal is read from its end in
// memory that does not grow with it.
using MovedBack = std::function<void(const std::string& to, const std::string& from)>;
UndoOutcome UndoJournal(FileSystem& fileSystem, FrontEnd& frontEnd, const std::string& path,
                        const MovedBack& movedBack = {});

// Where the last run was killed during a move on a card, removes the empty
// file by which that move had reserved the picture's new name (the picture
// itself still at its old one), so that the name is free again: what a run
// does before it starts.
void RemoveKilledMovesPlaceholder(FileSystem& fileSystem, const std::string& journalDirectory);

}  // namespace tessaly
