#include "engine/UndoRun.h"

#include <map>
#include <set>

#include "platform/PathSeparator.h"

namespace tessaly {
namespace {

// Whether `path` holds, untouched, the file of `identity`: the same file, or,
// where the file system numbered it anew (a card mounted again), a file of
// the same length and first bytes, modified at the same time as FAT keeps
// it: in steps of two seconds, so that a time first reported finer may come
// back rounded once the card has written it.
bool Holds(FileSystem& fileSystem, const std::string& path, const FileIdentity& identity) {
  FsResult<PathStatus> status = fileSystem.StatusOf(path, false);
  if (!status.ok() || status->type != EntryType::Regular || status->size != identity.size) {
    return false;
  }
  const std::int64_t drift = status->modifiedNanoseconds - identity.modifiedNanoseconds;
  if (drift == 0 && status->device == identity.device && status->inode == identity.inode) {
    return true;
  }
  constexpr std::int64_t kFatTimeStep = 2'000'000'000;
  return identity.startHash != 0 && drift >= -kFatTimeStep && drift <= kFatTimeStep &&
         HashOfFileStart(fileSystem, path) == identity.startHash;
}

// Whether `path` holds an empty regular file: what a move on a card leaves
// at a name it reserved when it is killed before the rename.
bool HoldsEmptyFile(FileSystem& fileSystem, const std::string& path) {
  FsResult<PathStatus> status = fileSystem.StatusOf(path, false);
  return status.ok() && status->type == EntryType::Regular && status->size == 0;
}

// Why undo must not touch `path`, or empty when it lies inside the run's
// directory `tree` (absolute, ending in a separator): no name below the tree
// that is empty, "." or "..", and no NUL byte anywhere.
std::string OutsideTree(std::string_view path, std::string_view tree) {
  if (path.find('\0') != std::string_view::npos) return "it holds a NUL byte";
  if (!path.starts_with(tree)) return "it lies outside the run's directory " + std::string(tree);
  for (std::string_view rest = path.substr(tree.size());;) {
    std::size_t end = rest.find_first_of(kPathSeparators);
    std::string_view name = rest.substr(0, end);
    if (name.empty() || name == "." || name == "..") {
      return "it holds an empty, \".\" or \"..\" name below the run's directory";
    }
    if (end == std::string_view::npos) return {};
    rest.remove_prefix(end + 1);
  }
}

}  // namespace

namespace {

// One undo of one journal's records, newest first. The records of one
// picture (its rename, then its move into a date directory) form a chain,
// known by the index of its first record: a picture is refused once, with
// every record of its chain.
class Undo {
 public:
  Undo(FileSystem& fileSystem, FrontEnd& frontEnd, const JournalContents& journal,
       UndoOutcome& outcome)
      : fileSystem_(fileSystem), frontEnd_(frontEnd), journal_(journal), outcome_(outcome) {
    const std::vector<JournalRecord>& records = journal.records;
    std::map<std::string, std::size_t> standing;  // where each chain's picture went last
    chainOf_.resize(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      chainOf_[i] = i;
      if (records[i].kind == JournalRecord::Kind::MakeDirectory) continue;
      auto before = standing.find(records[i].from);
      if (before != standing.end() && records[before->second].identity == records[i].identity) {
        chainOf_[i] = before->second;
        standing.erase(before);
      }
      standing[records[i].to] = chainOf_[i];
    }
  }

  void Run() {
    for (std::size_t i = journal_.records.size(); i-- > 0;) {
      if (frontEnd_.HandOver() == RunControl::Stop) {
        outcome_.stopped = true;
        return;
      }
      if (journal_.records[i].kind == JournalRecord::Kind::MakeDirectory) {
        RemoveDirectory(journal_.records[i].from);
      } else if (refusedChains_.count(chainOf_[i]) == 0) {
        MoveBack(i);
      }
    }
  }

 private:
  void Refuse(ProblemKind kind, const std::string& where, std::string why) {
    ++outcome_.refused;
    frontEnd_.ReportProblem(Problem{kind, where, std::move(why)});
  }

  void RemoveDirectory(const std::string& path) {
    if (std::string why = OutsideTree(path, journal_.walkedDirectory); !why.empty()) {
      return Refuse(ProblemKind::DirectoryKept, path, "not removed: " + why);
    }
    FsResult<PathStatus> status = fileSystem_.StatusOf(path, false);
    if (!status.ok()) {
      ++outcome_.alreadyUndone;
    } else if (status->type != EntryType::Directory) {
      Refuse(ProblemKind::DirectoryKept, path,
             "no longer the directory that the run made; left as it is");
    } else if (std::error_code error = fileSystem_.RemoveDirectory(path)) {
      Refuse(ProblemKind::DirectoryKept, path,
             error == std::errc::directory_not_empty
                 ? "made by the run, but it holds files now; kept"
                 : "cannot remove the directory that the run made: " + error.message());
    } else {
      ++outcome_.directoriesRemoved;
    }
  }

  // Refuses the record's whole picture.
  void RefusePicture(std::size_t index, std::string why) {
    refusedChains_.insert(chainOf_[index]);
    Refuse(ProblemKind::NotUndone, journal_.records[index].to, std::move(why));
  }

  void MoveBack(std::size_t index);

  FileSystem& fileSystem_;
  FrontEnd& frontEnd_;
  const JournalContents& journal_;
  UndoOutcome& outcome_;
  std::vector<std::size_t> chainOf_;
  std::set<std::size_t> refusedChains_;
  std::set<std::size_t> startedChains_;  // chains with a move back tried
  std::set<std::string> lostPaths_;      // what stood there was replaced, and is reported
  bool triedAMove_ = false;
};

void Undo::MoveBack(std::size_t index) {
  const JournalRecord& record = journal_.records[index];
  const std::string& from = record.from;
  const std::string& to = record.to;
  const std::string& firstPlace = journal_.records[chainOf_[index]].from;
  for (const std::string* path : {&from, &to}) {
    if (std::string why = OutsideTree(*path, journal_.walkedDirectory); !why.empty()) {
      return RefusePicture(index, "not moved back: " + *path + ": " + why);
    }
  }
  if (!Holds(fileSystem_, to, record.identity)) {
    if (Holds(fileSystem_, from, record.identity) ||
        Holds(fileSystem_, firstPlace, record.identity)) {
      ++outcome_.alreadyUndone;
      // A move in flight when the run was killed may have left the empty
      // file by which it reserved the new name on a card.
      if (index + 1 == journal_.records.size() && record.identity.size > 0 &&
          HoldsEmptyFile(fileSystem_, to)) {
        fileSystem_.RemoveFile(to);
      }
    } else if (lostPaths_.count(to) == 0) {
      RefusePicture(index,
                    "no longer the picture that the run put here (moved, edited or replaced "
                    "since); not moved back to " +
                        from);
    }
    return;
  }
  // The first move back of a picture: where it stood before the run must be
  // free, or it would be left half way.
  if (startedChains_.insert(chainOf_[index]).second && firstPlace != from &&
      fileSystem_.StatusOf(firstPlace, false).ok()) {
    return RefusePicture(index, "not moved back: " + firstPlace + " is taken now");
  }
  // An undo killed in its first move back may have left the empty file by
  // which it reserved the old name on a card.
  if (!triedAMove_ && record.identity.size > 0 && HoldsEmptyFile(fileSystem_, from)) {
    fileSystem_.RemoveFile(from);
  }
  triedAMove_ = true;
  if (std::error_code error = fileSystem_.MoveNoReplace(to, from)) {
    return RefusePicture(index, error == std::errc::file_exists
                                    ? "not moved back: " + from + " is taken now"
                                    : "cannot move back to " + from + ": " + error.message());
  }
  ++outcome_.movedBack;
  outcome_.moves.push_back(to + "--->" + from);
  frontEnd_.ShowCount(outcome_.movedBack);
  if (record.replaced) {
    ++outcome_.lost;
    lostPaths_.insert(to);
    frontEnd_.ReportProblem(Problem{
        ProblemKind::ReplacedFileLost, to,
        "the file that stood here before the run was replaced after a yes and cannot come back"});
  }
}

}  // namespace

void RemoveKilledMovesPlaceholder(FileSystem& fileSystem, const std::string& journalDirectory) {
  const std::string latest = LatestJournal(fileSystem, journalDirectory);
  if (latest.empty()) return;
  std::optional<JournalContents> killed = LastRecordOfAKilledRun(fileSystem, latest);
  if (!killed) return;
  const JournalRecord& record = killed->records.back();
  if (record.kind != JournalRecord::Kind::MakeDirectory && record.identity.size > 0 &&
      OutsideTree(record.to, killed->walkedDirectory).empty() &&
      Holds(fileSystem, record.from, record.identity) && HoldsEmptyFile(fileSystem, record.to)) {
    fileSystem.RemoveFile(record.to);
  }
}

UndoOutcome UndoJournal(FileSystem& fileSystem, FrontEnd& frontEnd, const std::string& path) {
  UndoOutcome outcome;
  JournalContents journal = ReadJournal(fileSystem, path);
  outcome.failure = journal.failure;
  outcome.reason = journal.reason;
  outcome.endsMidRecord = journal.endsMidRecord;
  if (journal.failure != JournalReadFailure::None) return outcome;
  const std::string& tree = journal.walkedDirectory;
  if (!IsAbsolutePath(tree) || !IsPathSeparator(tree.back()) ||
      tree.find('\0') != std::string::npos) {
    outcome.failure = JournalReadFailure::NotAJournal;
    outcome.reason = "its run's directory is no absolute path";
    return outcome;
  }
  Undo(fileSystem, frontEnd, journal, outcome).Run();
  return outcome;
}

}  // namespace tessaly
