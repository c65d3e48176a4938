#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "engine/WriteAheadFile.h"
#include "platform/FileSystem.h"

namespace tessaly {

// A picture as the journal knows it. Cards (FAT, exFAT) and network shares
// number their files anew at every mount, so beside its identity a picture
// is also known by a hash of its first bytes (HashOfFileStart; 0 where the
// run did not read them).
struct RecordedIdentity : FileIdentity {
  std::uint64_t startHash = 0;

  bool operator==(const RecordedIdentity&) const = default;
};

// One change that a run made on disk.
struct JournalRecord {
  enum class Kind {
    Rename,         // a picture renamed in its own directory
    Move,           // a picture moved into its date sub-directory
    MakeDirectory,  // a date sub-directory made; `from` names it
  };
  Kind kind = Kind::Rename;
  std::string from;
  std::string to;
  bool replaced = false;      // a file at `to` was replaced after the user's yes
  RecordedIdentity identity;  // the picture's, taken before the change

  bool operator==(const JournalRecord&) const = default;
};

// The journal's first line and each record's line (without the line
// break): JSON objects, paths in UTF-8 with every byte that is not part of
// valid UTF-8 written as \udcXX, so that every path reads back exactly.
std::string FormatJournalHeader(std::string_view walkedDirectory, std::string_view started);
std::string FormatJournalRecord(const JournalRecord& record);
// The record's line in the journal, its line break included.
std::string JournalLine(const JournalRecord& record);

// The journal of one run, written ahead: a record reaches the operating
// system before its change is made and is taken back when the change does
// not happen, so that after a kill the journal names every change made and
// at most one more (a move in flight, which on a card may have left an
// empty file of its own at the new name).
class Journal : public WriteAheadFile {
 public:
  Journal()
      : WriteAheadFile({"journal", "record", "did not change", ProblemKind::JournalWriteFailed}) {}

  // Makes a new journal in `directory` (made, with its parents, when
  // missing), named after `started` in UTC, so that journals sort by when
  // their runs began in whatever zone: YYYY-MM-DD-HHMMSSZ.jsonl, or with
  // _002, _003 ... when that name holds or is held by another run. Journals
  // of runs that ended before their first change (killed as they started)
  // are removed first.
  std::error_code Create(FileSystem& fileSystem, const std::string& directory,
                         std::chrono::system_clock::time_point started,
                         std::string_view walkedDirectory);
  std::error_code Append(const JournalRecord& record) { return WriteAhead(JournalLine(record)); }
  // Closes the journal; one that kept no record is removed (and Path() is
  // empty then), so that undo never takes it for the last run.
  std::error_code Close();

 private:
  FileSystem* fileSystem_ = nullptr;
  std::uint64_t headerLength_ = 0;
};

// The name of a journal for a run started at `started`: its UTC time.
std::string JournalName(std::chrono::system_clock::time_point started);

enum class JournalReadFailure {
  None,
  CannotRead,     // the file could not be opened or read
  NotAJournal,    // the first line is no journal header
  NewerVersion,   // written by a later Tessaly
  DamagedRecord,  // a whole line that is no record
};

struct JournalContents {
  JournalReadFailure failure = JournalReadFailure::None;
  std::string reason;  // why it could not be read, naming the line
  std::string walkedDirectory;
  std::vector<JournalRecord> records;
  bool endsMidRecord = false;  // the last line was cut short and is not used
};

// The longest line a record can take: two paths of the longest length a
// file system allows, every byte escaped, and the rest of the record.
inline constexpr std::size_t kLongestRecord = 2 * 4096 * 6 + 1024;

// Reads a journal in memory that does not grow with it: a first pass forward
// checks the header and every line (a damaged one refuses the journal before
// anything is done with it), then the records come back newest first, read
// from the file's end.
class JournalReader {
 public:
  JournalReadFailure Open(FileSystem& fileSystem, const std::string& path);
  // Why Open failed, naming the line.
  const std::string& Reason() const { return reason_; }
  const std::string& WalkedDirectory() const { return walkedDirectory_; }
  bool EndsMidRecord() const { return endsMidRecord_; }  // the last line was cut short
  std::uint64_t RecordCount() const { return recordCount_; }
  // The record before the one given last (at first the newest); false when
  // the oldest was given, or a read fails (ReadFailed() then).
  bool Previous(JournalRecord& record);
  bool ReadFailed() const { return readFailed_; }

 private:
  JournalReadFailure Fail(JournalReadFailure failure, std::string reason);
  JournalReadFailure CheckLine(std::string_view line, std::uint64_t number);

  std::unique_ptr<ReadableFile> file_;
  std::string reason_, walkedDirectory_;
  bool endsMidRecord_ = false, readFailed_ = false;
  std::uint64_t recordCount_ = 0;
  std::uint64_t recordsStart_ = 0;  // where the first record begins
  std::uint64_t windowStart_ = 0;   // where window_ begins in the file
  std::string window_;              // the bytes before the record given last
};

// Reads the journal at `path` up to its last whole record, oldest first.
JournalContents ReadJournal(FileSystem& fileSystem, const std::string& path);

// The newest journal in `directory` (by its name) that records a change, or
// empty when there is none.
std::string LatestJournal(FileSystem& fileSystem, const std::string& directory);

// The journal at `path` as far as its header and its last whole record,
// when its run was killed (the journal still ends in the NUL bytes of the
// room it had reserved) and no run holds it now; nullopt otherwise.
std::optional<JournalContents> LastRecordOfAKilledRun(FileSystem& fileSystem,
                                                      const std::string& path);

// Holds the journal at `path` for an undo, as a run holds its own: fails
// with FsError::InUse while a run (or another undo) still uses it. A journal
// that can only be read (on a read-only medium) is not held, and not refused.
FsResult<std::unique_ptr<AppendFile>> HoldJournal(FileSystem& fileSystem, const std::string& path);

// HashOfFileStart of the file at `path`; 0 when it cannot be read.
std::uint64_t HashOfFileStart(FileSystem& fileSystem, const std::string& path);

}  // namespace tessaly
