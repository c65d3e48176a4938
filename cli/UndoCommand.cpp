#include "cli/UndoCommand.h"

#include "cli/CliFrontEnd.h"
#include "cli/TerminalText.h"
#include "cli/Usage.h"
#include "engine/RunPreview.h"

namespace tessaly {

int RunUndoCommand(std::span<const std::string> arguments, FileSystem& fileSystem,
                   const std::string& journalDirectory, std::ostream& out, std::ostream& err) {
  std::string journal;
  bool dryRun = false, optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (!optionsEnded && (argument == "--help" || argument == "-h")) {
      out << kUndoUsage;
      return 0;
    } else if (!optionsEnded && argument == "--dry-run") {
      dryRun = true;
    } else if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      err << "tessaly-cli undo: unknown option " << TerminalText(argument) << "\n" << kUndoUsage;
      return 2;
    } else if (journal.empty() && !argument.empty()) {
      journal = argument;
    } else {
      err << "tessaly-cli undo: give at most one journal\n" << kUndoUsage;
      return 2;
    }
  }
  if (journal.empty()) {
    journal = journalDirectory.empty() ? "" : LatestJournal(fileSystem, journalDirectory);
    // Runs that ended before their first change leave nothing to undo.
    if (journal.empty() && !journalDirectory.empty() &&
        fileSystem.OpenDirectory(journalDirectory).ok()) {
      out << "Nothing to undo: no run in " << TerminalText(journalDirectory)
          << " changed anything\n";
      return 0;
    }
    if (journal.empty()) {
      err << "tessaly-cli undo: no journal in "
          << TerminalText(journalDirectory.empty() ? "the state directory" : journalDirectory)
          << "; name one\n";
      return 2;
    }
  }

  // Held while undo runs: a run still writing it, or another undo, refuses it.
  FsResult<std::unique_ptr<AppendFile>> held = HoldJournal(fileSystem, journal);
  if (!held.ok() && held.error() == FsError::InUse) {
    err << "tessaly-cli undo: " << TerminalText(journal)
        << ": a run is still using it; nothing was undone\n";
    return 2;
  }
  CliFrontEnd frontEnd(RenameOptions{}, err, false);
  // A preview names each move as it finds it.
  const MovedBack listMove = [&out](const std::string& to, const std::string& from) {
    out << TerminalText(to + "--->" + from) << "\n";
  };
  UndoOutcome outcome = dryRun ? PreviewUndo(fileSystem, frontEnd, journal, listMove)
                               : UndoJournal(fileSystem, frontEnd, journal);
  if (outcome.failure != JournalReadFailure::None) {
    err << "tessaly-cli undo: " << TerminalText(journal) << ": " << TerminalText(outcome.reason)
        << "; nothing was undone\n";
    return 2;
  }
  if (outcome.endsMidRecord) {
    err << "tessaly-cli undo: " << TerminalText(journal)
        << ": the last record was cut short (the run ended while writing it); it is not used\n";
  }
  if (NothingToUndo(outcome)) {
    out << (dryRun ? "Preview: nothing to undo" : "Nothing to undo")
        << ": every change of this journal is undone already (" << TerminalText(journal) << ")\n";
  } else {
    out << (dryRun ? "Preview: would move back " : "Moved back ") << outcome.movedBack
        << (dryRun ? ", remove " : ", removed ") << outcome.directoriesRemoved
        << " directories, left " << outcome.refused << " as they are"
        << (outcome.lost > 0 ? ", " + std::to_string(outcome.lost) + " replaced files lost"
                             : std::string())
        << (outcome.alreadyUndone > 0
                ? ", " + std::to_string(outcome.alreadyUndone) + " undone already"
                : std::string())
        << (dryRun ? "; nothing was changed" : "; journal: " + TerminalText(journal)) << "\n";
  }
  return outcome.refused + outcome.lost > 0 ? 1 : 0;
}

}  // namespace tessaly
