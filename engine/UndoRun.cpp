#include "engine/UndoRun.h"

#include <map>
#include <set>

namespace tessaly {
namespace {

// Whether `path` holds, untouched, the file of `identity`.
bool Holds(FileSystem& fileSystem, const std::string& path, const FileIdentity& identity) {
  FsResult<PathStatus> status = fileSystem.StatusOf(path, false);
  return status.ok() && status->type == EntryType::Regular &&
         FileIdentity::Of(status.value()) == identity;
}

}  // namespace

UndoOutcome UndoJournal(FileSystem& fileSystem, FrontEnd& frontEnd, const std::string& path) {
  UndoOutcome outcome;
  JournalContents journal = ReadJournal(fileSystem, path);
  outcome.failure = journal.failure;
  outcome.reason = journal.reason;
  outcome.endsMidRecord = journal.endsMidRecord;
  if (journal.failure != JournalReadFailure::None) return outcome;

  // Where each picture stood before the run: back there, it is undone.
  std::map<FileIdentity, const std::string*> firstPlace;
  for (const JournalRecord& record : journal.records) {
    if (record.kind != JournalRecord::Kind::MakeDirectory) {
      firstPlace.emplace(record.identity, &record.from);
    }
  }
  std::set<FileIdentity> leftAsTheyAre;  // their older records are passed over too
  std::set<std::string> lostPaths;       // what stood there was replaced, and is reported
  auto refuse = [&](ProblemKind kind, const std::string& where, std::string why) {
    ++outcome.refused;
    frontEnd.ReportProblem(Problem{kind, where, std::move(why)});
  };
  for (auto record = journal.records.rbegin(); record != journal.records.rend(); ++record) {
    if (frontEnd.HandOver() == RunControl::Stop) {
      outcome.stopped = true;
      break;
    }
    if (record->kind == JournalRecord::Kind::MakeDirectory) {
      FsResult<PathStatus> status = fileSystem.StatusOf(record->from, false);
      if (!status.ok()) {
        ++outcome.alreadyUndone;
      } else if (status->type != EntryType::Directory) {
        refuse(ProblemKind::DirectoryKept, record->from,
               "no longer the directory that the run made; left as it is");
      } else if (std::error_code error = fileSystem.RemoveDirectory(record->from)) {
        refuse(ProblemKind::DirectoryKept, record->from,
               error == std::errc::directory_not_empty
                   ? "made by the run, but it holds files now; kept"
                   : "cannot remove the directory that the run made: " + error.message());
      } else {
        ++outcome.directoriesRemoved;
      }
      continue;
    }

    const std::string& from = record->from;
    const std::string& to = record->to;
    if (leftAsTheyAre.count(record->identity) > 0) continue;
    if (!Holds(fileSystem, to, record->identity)) {
      if (Holds(fileSystem, from, record->identity) ||
          Holds(fileSystem, *firstPlace.at(record->identity), record->identity)) {
        ++outcome.alreadyUndone;
      } else if (lostPaths.count(to) == 0) {
        leftAsTheyAre.insert(record->identity);
        refuse(ProblemKind::NotUndone, to,
               "no longer the picture that the run put here (moved, edited or replaced since); "
               "not moved back to " +
                   from);
      }
      continue;
    }
    if (std::error_code error = fileSystem.MoveNoReplace(to, from)) {
      leftAsTheyAre.insert(record->identity);
      refuse(ProblemKind::NotUndone, to,
             error == std::errc::file_exists
                 ? "not moved back: " + from + " is taken now"
                 : "cannot move back to " + from + ": " + error.message());
      continue;
    }
    ++outcome.movedBack;
    outcome.moves.push_back(to + "--->" + from);
    frontEnd.ShowCount(outcome.movedBack);
    if (record->replaced) {
      ++outcome.lost;
      lostPaths.insert(to);
      frontEnd.ReportProblem(Problem{
          ProblemKind::ReplacedFileLost, to,
          "the file that stood here before the run was replaced after a yes and cannot come back"});
    }
  }
  return outcome;
}

}  // namespace tessaly
