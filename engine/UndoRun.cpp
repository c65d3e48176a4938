#include "engine/UndoRun.h"

#include <deque>
#include <set>

#include "core/Path.h"

namespace tessaly {
namespace {

// Whether `path` holds, untouched, the file of `identity`: the same file, or,
// where the file system numbered it anew (a card mounted again), a file of
// the same length and first bytes, modified at the same time as FAT keeps
// it: in steps of two seconds, so that a time first reported finer may come
// back rounded once the card has written it.
bool Holds(FileSystem& fileSystem, const std::string& path, const RecordedIdentity& identity) {
  FsResult<PathStatus> status = fileSystem.StatusOf(path, SymbolicLinks::NotFollowed);
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
  FsResult<PathStatus> status = fileSystem.StatusOf(path, SymbolicLinks::NotFollowed);
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

// One undo of one journal's records, newest first, in memory that does not
// grow with the journal. The records of one picture (its rename, maybe the
// date directory made, then its move into it) stand together and form a
// chain, known by the number of its first record: a picture is refused once,
// with every record of its chain. The two records older than the one undone
// are read ahead, to find where its chain began.
class Undo {
 public:
  Undo(FileSystem& fileSystem, FrontEnd& frontEnd, JournalReader& journal, UndoOutcome& outcome,
       const MovedBack& movedBack)
      : fileSystem_(fileSystem),
        frontEnd_(frontEnd),
        journal_(journal),
        outcome_(outcome),
        movedBack_(movedBack),
        next_(journal.RecordCount()) {}

  void Run() {
    while (ReadAhead(1)) {
      if (frontEnd_.HandOver() == RunControl::Stop) {
        outcome_.stopped = true;
        return;
      }
      JournalRecord record = std::move(ahead_.front());
      ahead_.pop_front();
      const std::uint64_t index = next_ + ahead_.size();
      // Chains above this record are done with.
      refusedChains_.erase(refusedChains_.upper_bound(index), refusedChains_.end());
      startedChains_.erase(startedChains_.upper_bound(index), startedChains_.end());
      if (record.kind == JournalRecord::Kind::MakeDirectory) {
        RemoveDirectory(record.from);
        continue;
      }
      ReadAhead(3);
      Chain chain = ChainOf(record, index);
      if (refusedChains_.count(chain.first) == 0) MoveBack(record, index, chain);
    }
    if (journal_.ReadFailed()) {
      Refuse(ProblemKind::NotUndone, std::string(), "the journal could not be read again");
    }
  }

 private:
  struct Chain {
    std::uint64_t first;
    std::string firstPlace;  // where the picture stood before the run
  };

  // Reads older records until `count` wait (fewer at the journal's start).
  bool ReadAhead(std::size_t count) {
    while (ahead_.size() < count && next_ > 0) {
      JournalRecord record;
      if (!journal_.Previous(record)) {
        next_ = 0;
        break;
      }
      --next_;
      ahead_.push_back(std::move(record));
    }
    return !ahead_.empty();
  }

  // The chain of the record numbered `index`: a move into a date directory
  // continues the rename just before it (a directory made may stand between).
  Chain ChainOf(const JournalRecord& record, std::uint64_t index) const {
    if (record.kind == JournalRecord::Kind::Move) {
      for (std::size_t k = 0; k < ahead_.size() && k < 2; ++k) {
        const JournalRecord& older = ahead_[k];
        if (older.kind == JournalRecord::Kind::MakeDirectory) continue;
        if (older.kind == JournalRecord::Kind::Rename && older.to == record.from &&
            older.identity == record.identity) {
          return {index - k - 1, older.from};
        }
        break;
      }
    }
    return {index, record.from};
  }

  void Refuse(ProblemKind kind, const std::string& where, std::string why) {
    ++outcome_.refused;
    frontEnd_.ReportProblem(Problem{kind, where, std::move(why)});
  }

  void RemoveDirectory(const std::string& path) {
    if (std::string why = OutsideTree(path, journal_.WalkedDirectory()); !why.empty()) {
      return Refuse(ProblemKind::DirectoryKept, path, "not removed: " + why);
    }
    FsResult<PathStatus> status = fileSystem_.StatusOf(path, SymbolicLinks::NotFollowed);
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
  void RefusePicture(const JournalRecord& record, const Chain& chain, std::string why) {
    refusedChains_.insert(chain.first);
    Refuse(ProblemKind::NotUndone, record.to, std::move(why));
  }

  void MoveBack(const JournalRecord& record, std::uint64_t index, const Chain& chain);

  FileSystem& fileSystem_;
  FrontEnd& frontEnd_;
  JournalReader& journal_;
  UndoOutcome& outcome_;
  const MovedBack& movedBack_;
  std::uint64_t next_;               // the number of the oldest record read so far
  std::deque<JournalRecord> ahead_;  // read, not yet undone, newest first
  std::set<std::uint64_t> refusedChains_;
  std::set<std::uint64_t> startedChains_;  // chains with a move back tried
  std::set<std::string> lostPaths_;        // what stood there was replaced, and is reported
  bool triedAMove_ = false;
};

void Undo::MoveBack(const JournalRecord& record, std::uint64_t index, const Chain& chain) {
  const std::string& from = record.from;
  const std::string& to = record.to;
  for (const std::string* path : {&from, &to}) {
    if (std::string why = OutsideTree(*path, journal_.WalkedDirectory()); !why.empty()) {
      return RefusePicture(record, chain, "not moved back: " + *path + ": " + why);
    }
  }
  if (!Holds(fileSystem_, to, record.identity)) {
    if (Holds(fileSystem_, from, record.identity) ||
        Holds(fileSystem_, chain.firstPlace, record.identity)) {
      ++outcome_.alreadyUndone;
      // A move in flight when the run was killed may have left the empty
      // file by which it reserved the new name on a card.
      if (index + 1 == journal_.RecordCount() && record.identity.size > 0 &&
          HoldsEmptyFile(fileSystem_, to)) {
        fileSystem_.RemoveFile(to);
      }
    } else if (lostPaths_.count(to) == 0) {
      RefusePicture(record, chain,
                    "no longer the picture that the run put here (moved, edited or replaced "
                    "since); not moved back to " +
                        from);
    }
    return;
  }
  // The first move back of a picture: where it stood before the run must be
  // free, or it would be left half way.
  if (startedChains_.insert(chain.first).second && chain.firstPlace != from &&
      fileSystem_.StatusOf(chain.firstPlace, SymbolicLinks::NotFollowed).ok()) {
    return RefusePicture(record, chain, "not moved back: " + chain.firstPlace + " is taken now");
  }
  // An undo killed in its first move back may have left the empty file by
  // which it reserved the old name on a card.
  if (!triedAMove_ && record.identity.size > 0 && HoldsEmptyFile(fileSystem_, from)) {
    fileSystem_.RemoveFile(from);
  }
  triedAMove_ = true;
  if (std::error_code error = fileSystem_.MoveNoReplace(to, from)) {
    return RefusePicture(record, chain,
                         error == std::errc::file_exists
                             ? "not moved back: " + from + " is taken now"
                             : "cannot move back to " + from + ": " + error.message());
  }
  ++outcome_.movedBack;
  if (movedBack_) movedBack_(to, from);
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

UndoOutcome UndoJournal(FileSystem& fileSystem, FrontEnd& frontEnd, const std::string& path,
                        const MovedBack& movedBack) {
  UndoOutcome outcome;
  JournalReader journal;
  outcome.failure = journal.Open(fileSystem, path);
  outcome.reason = journal.Reason();
  outcome.endsMidRecord = journal.EndsMidRecord();
  if (outcome.failure != JournalReadFailure::None) return outcome;
  const std::string& tree = journal.WalkedDirectory();
  if (!IsAbsolutePath(tree) || !IsPathSeparator(tree.back()) ||
      tree.find('\0') != std::string::npos) {
    outcome.failure = JournalReadFailure::NotAJournal;
    outcome.reason = "its run's directory is no absolute path";
    return outcome;
  }
  Undo(fileSystem, frontEnd, journal, outcome, movedBack).Run();
  return outcome;
}

}  // namespace tessaly
