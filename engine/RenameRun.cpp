#include "engine/RenameRun.h"

#include "core/Path.h"
#include "engine/DirectoryWalk.h"
#include "engine/RenameList.h"
#include "engine/RunState.h"
#include "engine/UndoRun.h"
#include "platform/ProgramLocation.h"
#include "platform/ReadAhead.h"

namespace tessaly {

RenameListPlace DefaultRenameListPlace() {
  RenameListPlace place;
  place.programDirectory = ExecutableDirectory();
  place.stateDirectory = UserStateDirectory();
  if (!place.stateDirectory.empty())
    place.journalDirectory = place.stateDirectory + kPathSeparator + "journals";
  return place;
}

RunOutcome RenameRun::StartRun(const std::string& selectedDirectory, const RenameListPlace& place) {
  RunOutcome outcome;
  if (selectedDirectory.empty()) {
    outcome.status = RunStatus::NothingSelected;
    return outcome;
  }
  std::string directory = WithFinalSeparator(NativePathText(selectedDirectory));

  FsResult<PathStatus> status = fileSystem_.StatusOf(directory, SymbolicLinks::Follow);
  if (!status.ok() || status->type != EntryType::Directory) {
    outcome.status = RunStatus::DirectoryMissing;
    outcome.reason = directory + ": " +
                     (status.ok() ? std::string("not a directory") : status.error().message());
    return outcome;
  }

  RenameList list;
  std::error_code error;
  if (!place.explicitPath.empty()) {
    error = list.Open(fileSystem_, place.explicitPath);
    if (error) outcome.reason = place.explicitPath + ": " + error.message();
  } else {
    error = OpenDefaultRenameList(list, fileSystem_, place.programDirectory, place.stateDirectory,
                                  outcome.reason);
  }
  if (error) {
    outcome.status = RunStatus::ListNotCreated;
    outcome.reason = "cannot use the rename list (" + outcome.reason + ")";
    return outcome;
  }
  outcome.renameListPath = list.Path();

  Journal journal;
  if (!place.journalDirectory.empty()) {
    // Not for a preview, which would read the whole last journal into memory.
    if (place.journalUse == JournalUse::Keep) {
      RemoveKilledMovesPlaceholder(fileSystem_, place.journalDirectory);
    }
    if (std::error_code made = journal.Create(fileSystem_, place.journalDirectory,
                                              std::chrono::system_clock::now(), directory)) {
      list.Close();
      outcome.status = RunStatus::ListNotCreated;
      outcome.reason = "cannot write the run's journal (" +
                       (journal.Path().empty() ? place.journalDirectory : journal.Path()) + ": " +
                       made.message() + ")";
      return outcome;
    }
    outcome.journalPath = journal.Path();
  }
  const bool keepJournal = !place.journalDirectory.empty() && place.journalUse == JournalUse::Keep;
  if (!keepJournal) journal.Close();

  std::unique_ptr<ReadAhead> readAhead = fileSystem_.StartReadAhead();
  RunState state{fileSystem_,    frontEnd_, list, renameCount_, keepJournal ? &journal : nullptr,
                 readAhead.get()};
  DirectoryWalk walk(state);
  walk.ProcessDirectory(directory);
  readAhead.reset();  // its threads end with the walk
  if (std::error_code closed = list.Close()) {
    frontEnd_.ReportProblem(Problem{ProblemKind::RenameListWriteFailed, list.Path(),
                                    "cannot close the rename list: " + closed.message()});
  }
  if (std::error_code closed = journal.Close()) {
    frontEnd_.ReportProblem(Problem{ProblemKind::JournalWriteFailed, journal.Path(),
                                    "cannot close the journal: " + closed.message()});
  }
  outcome.journalPath = keepJournal ? journal.Path() : std::string();
  outcome.status = state.stopRequested ? RunStatus::Stopped : RunStatus::Completed;
  outcome.summary = std::move(state.summary);
  return outcome;
}

}  // namespace tessaly
