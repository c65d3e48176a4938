#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/FileSystem.h"

namespace tessaly {

// What tells a file apart from every other: where it lives, its length and
// when its content last changed. A rename keeps all four; an edit or another
// file in its place does not.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNanoseconds = 0;

  static FileIdentity Of(const PathStatus& status) {
    return {status.device, status.inode, status.size, status.modifiedNanoseconds};
  }
  auto operator<=>(const FileIdentity&) const = default;
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
  bool replaced = false;  // a file at `to` was replaced after the user's yes
  FileIdentity identity;  // the picture's, taken before the change

  bool operator==(const JournalRecord&) const = default;
};

// The journal's first line and each record's line (without the line
// break): JSON objects, paths in UTF-8 with every byte that is not part of
// valid UTF-8 written as \udcXX, so that every path reads back exactly.
std::string FormatJournalHeader(std::string_view walkedDirectory, std::string_view started);
std::string FormatJournalRecord(const JournalRecord& record);

// The journal of one run, written ahead: a record reaches the operating
// system before its change is made and is taken back when the change does
// not happen, so that after a kill the journal names every change made and
// at most one more.
class Journal {
 public:
  // Makes a new journal in `directory` (made when missing), named after
  // `started` in local time: YYYY-MM-DD-HHMMSS.jsonl, or with _002, _003 ...
  // when that name holds another run's journal.
  std::error_code Create(FileSystem& fileSystem, const std::string& directory,
                         std::chrono::system_clock::time_point started,
                         std::string_view walkedDirectory);
  std::error_code Append(const JournalRecord& record);
  // Takes back the record written last, whose change did not happen.
  std::error_code TakeBackLast();
  std::error_code Close();
  const std::string& Path() const { return path_; }

 private:
  std::unique_ptr<AppendFile> file_;
  std::string path_;
  std::uint64_t lengthBeforeRecord_ = 0;
  std::string line_;  // the record being appended, its room kept for the next
};

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

// Reads the journal at `path` up to its last whole record.
JournalContents ReadJournal(FileSystem& fileSystem, const std::string& path);

// The newest journal in `directory` (by its name), or empty when there is
// none.
std::string LatestJournal(FileSystem& fileSystem, const std::string& directory);

}  // namespace tessaly
