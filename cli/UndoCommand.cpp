#include "cli/UndoCommand.h"

#include "cli/CliFrontEnd.h"
#include "cli/CommandArguments.h"
#include "cli/TerminalText.h"
#include "cli/Usage.h"
#include "engine/RunPreview.h"

namespace tessaly {
namespace {

constexpr std::string_view kUndoFlags[] = {"--dry-run"};
constexpr CommandSyntax kUndo{
    "undo", kUndoUsage, kUndoFlags, {}, {}, Operands::AtMostOne, "give at most one journal"};

// The newest journal in `journalDirectory` that records a change; when there
// is none, the exit status, with what it means written.
std::optional<int> FindLatestJournal(FileSystem& fileSystem, const std::string& journalDirectory,
                                     std::string& journal, std::ostream& out, std::ostream& err) {
  journal = journalDirectory.empty() ? "" : LatestJournal(fileSystem, journalDirectory);
  if (!journal.empty()) return std::nullopt;
  // Runs that ended before their first change leave nothing to undo.
  if (!journalDirectory.empty() && fileSystem.OpenDirectory(journalDirectory).ok()) {
    out << "Nothing to undo: no run in " << TerminalText(journalDirectory) << " changed anything\n";
    return 0;
  }
  err << "tessaly-cli undo: no journal in "
      << TerminalText(journalDirectory.empty() ? "the state directory" : journalDirectory)
      << "; name one\n";
  return 2;
}

// The closing line: what undo did (or, as a preview, would do).
void Summarise(const UndoOutcome& outcome, const std::string& journal, bool dryRun,
               std::ostream& out) {
  if (NothingToUndo(outcome)) {
    out << (dryRun ? "Preview: nothing to undo" : "Nothing to undo")
        << ": every change of this journal is undone already (" << TerminalText(journal) << ")\n";
    return;
  }
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

}  // namespace

int RunUndoCommand(std::span<const std::string> arguments, FileSystem& fileSystem,
                   const std::string& journalDirectory, std::ostream& out, std::ostream& err) {
  const CommandArguments read = ReadCommandArguments(arguments, kUndo, out, err);
  if (read.exitStatus) return *read.exitStatus;
  const bool dryRun = read.Has("--dry-run");
  std::string journal = read.operands.empty() ? "" : read.operands.front();
  if (journal.empty()) {
    if (std::optional<int> status =
            FindLatestJournal(fileSystem, journalDirectory, journal, out, err)) {
      return *status;
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
  Summarise(outcome, journal, dryRun, out);
  return outcome.refused + outcome.lost > 0 ? 1 : 0;
}

}  // namespace tessaly
