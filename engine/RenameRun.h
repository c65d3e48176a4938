#pragma once

#include <cstdint>
#include <string>
#include <system_error>

#include "engine/FrontEnd.h"
#include "engine/Journal.h"
#include "engine/RenameList.h"
#include "engine/RunState.h"
#include "platform/FileSystem.h"

namespace tessaly {

enum class RunStatus {
  Completed,         // the walk ran to its end (problems, if any, were reported)
  Stopped,           // the front end asked to stop; the list holds every line so far
  DirectoryMissing,  // none chosen, or the chosen one is not a directory: nothing done
  ListNotCreated,    // the rename list or the journal could not be made: nothing renamed
};

struct RunOutcome {
  RunStatus status = RunStatus::Completed;
  std::string renameListPath;  // where this run's list is (when it was made)
  std::string journalPath;     // where this run's journal is (when it keeps one)
  std::string reason;          // why the run did not start
  RunSummary summary;
};

// What a run does with its journal.
enum class JournalUse {
  Keep,       // every change is written ahead to it
  CheckOnly,  // a preview: the journal is made where the run would make it, so
              // that a place that cannot take one refuses the preview as it
              // would refuse the run, and then left out
};

// Where a run puts its rename list: a path chosen by the user, or the
// default places (the program's directory, then the user's state
// directory); and the directory of the journals of runs, none kept when
// empty.
struct RenameListPlace {
  std::string explicitPath;  // when not empty, the one place tried
  std::string programDirectory;
  std::string stateDirectory;
  std::string journalDirectory;
  JournalUse journalUse = JournalUse::Keep;
};

// The default places: the program's directory, then the user's state
// directory; the journals in the state directory's "journals". Each
// program's main says where these are.
RenameListPlace PlaceUnder(const std::string& programDirectory, const std::string& stateDirectory);

// A rename run, as the Start button makes it: a fresh rename list and a new
// journal, the walk of the chosen directory and everything below it, both
// closed again. The count of renamed pictures belongs to this object and
// goes on across runs.
class RenameRun {
 public:
  RenameRun(FileSystem& fileSystem, FrontEnd& frontEnd)
      : fileSystem_(fileSystem), frontEnd_(frontEnd) {}

  RunOutcome StartRun(const std::string& selectedDirectory, const RenameListPlace& place);

  std::int64_t RenameCount() const { return renameCount_; }

 private:
  // Walks `directory` with the open list and journal (none when null) and
  // closes both.
  void Walk(const std::string& directory, RenameList& list, Journal* journal, RunOutcome& outcome);

  FileSystem& fileSystem_;
  FrontEnd& frontEnd_;
  std::int64_t renameCount_ = 0;
};

}  // namespace tessaly
