#include "engine/RenameRun.h"

#include "core/Path.h"
#include "engine/DirectoryWalk.h"
#include "engine/RenameList.h"
#include "engine/RunState.h"
#include "engine/UndoRun.h"
#include "platform/ReadAhead.h"

namespace tessaly {
namespace {

// Why the run cannot walk `directory` (the chosen one, ending in a
// separator), or empty when it can.
std::string WhyNotWalkable(FileSystem& fileSystem, const std::string& directory) {
  FsResult<PathStatus> status = fileSystem.StatusOf(directory, SymbolicLinks::Follow);
  if (status.ok() && status->type == EntryType::Directory) return {};
  return directory + ": " +
         (status.ok() ? std::string("not a directory") : status.error().message());
}

// Opens the list where `place` says; on failure `why` names the places tried.
std::error_code OpenList(RenameList& list, FileSystem& fileSystem, const RenameListPlace& place,
                         std::string& why) {
  if (place.explicitPath.empty()) {
    return OpenDefaultRenameList(list, fileSystem, place.programDirectory, place.stateDirectory,
                                 why);
  }
  std::error_code error = list.Open(fileSystem, place.explicitPath);
  if (error) why = place.explicitPath + ": " + error.message();
  return error;
}

// Makes the run's journal where `place` says, when it says one; empty when
// it could, else why not.
std::string CreateJournal(Journal& journal, FileSystem& fileSystem, const RenameListPlace& place,
                          const std::string& directory) {
  if (place.journalDirectory.empty()) return {};
  // Not for a preview, which would read the whole last journal into memory.
  if (place.journalUse == JournalUse::Keep) {
    RemoveKilledMovesPlaceholder(fileSystem, place.journalDirectory);
  }
  std::error_code made = journal.Create(fileSystem, place.journalDirectory,
                                        std::chrono::system_clock::now(), directory);
  if (!made) return {};
  return "cannot write the run's journal (" +
         (journal.Path().empty() ? place.journalDirectory : journal.Path()) + ": " +
         made.message() + ")";
}

}  // namespace

RenameListPlace PlaceUnder(const std::string& programDirectory, const std::string& stateDirectory) {
  RenameListPlace place;
  place.programDirectory = programDirectory;
  place.stateDirectory = stateDirectory;
  if (!place.stateDirectory.empty())
    place.journalDirectory = JoinPath(place.stateDirectory, "journals");
  return place;
}

RunOutcome RenameRun::StartRun(const std::string& selectedDirectory, const RenameListPlace& place) {
  RunOutcome outcome;
  std::string directory = WithFinalSeparator(NativePathText(selectedDirectory));
  // An empty choice would name the root.
  outcome.reason =
      selectedDirectory.empty() ? "no directory chosen" : WhyNotWalkable(fileSystem_, directory);
  if (!outcome.reason.empty()) {
    outcome.status = RunStatus::DirectoryMissing;
    return outcome;
  }

  RenameList list;
  if (OpenList(list, fileSystem_, place, outcome.reason)) {
    outcome.status = RunStatus::ListNotCreated;
    outcome.reason = "cannot use the rename list (" + outcome.reason + ")";
    return outcome;
  }
  outcome.renameListPath = list.Path();

  Journal journal;
  outcome.reason = CreateJournal(journal, fileSystem_, place, directory);
  if (!outcome.reason.empty()) {
    list.Close();
    outcome.status = RunStatus::ListNotCreated;
    return outcome;
  }
  const bool keepJournal = !place.journalDirectory.empty() && place.journalUse == JournalUse::Keep;
  if (!keepJournal) journal.Close();
  Walk(directory, list, keepJournal ? &journal : nullptr, outcome);
  return outcome;
}

void RenameRun::Walk(const std::string& directory, RenameList& list, Journal* journal,
                     RunOutcome& outcome) {
  std::unique_ptr<ReadAhead> readAhead = fileSystem_.StartReadAhead();
  RunState state{fileSystem_, frontEnd_, list, renameCount_, journal, readAhead.get()};
  DirectoryWalk walk(state);
  walk.ProcessDirectory(directory);
  readAhead.reset();  // its threads end with the walk
  if (std::error_code closed = list.Close()) {
    frontEnd_.ReportProblem(Problem{ProblemKind::RenameListWriteFailed, list.Path(),
                                    "cannot close the rename list: " + closed.message()});
  }
  if (journal) {
    if (std::error_code closed = journal->Close()) {
      frontEnd_.ReportProblem(Problem{ProblemKind::JournalWriteFailed, journal->Path(),
                                      "cannot close the journal: " + closed.message()});
    }
    outcome.journalPath = journal->Path();
  }
  outcome.status = state.stopRequested ? RunStatus::Stopped : RunStatus::Completed;
  outcome.summary = std::move(state.summary);
}

}  // namespace tessaly
