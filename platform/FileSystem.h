#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "core/ReadableFile.h"
#include "platform/FsError.h"

namespace tessaly {

class ReadAhead;

// One name listed by a directory cursor. `type` is what the directory listing
// says of the entry itself (links are not followed); when the listing cannot
// tell and looking it up failed, `type` is Unknown and `typeError` says why.
struct DirectoryEntry {
  std::string name;
  EntryType type = EntryType::Unknown;
  std::error_code typeError;
  // Marked hidden by the file system itself (on Windows, the hidden or the
  // system attribute), beside the names that begin with ".".
  bool hidden = false;
};

// A file kept by the program while a run lasts (the rename list): opened
// without following a link and without waiting on a FIFO, refused unless it
// is a regular file, and held under an exclusive lock until it is closed, so
// that two runs never share one. Every append reaches the operating system
// at once: whatever ends the process afterwards, it is in the file.
class AppendFile {
 public:
  virtual ~AppendFile() = default;
  // Reads up to into.size() bytes at `offset`; 0 means the end of the file.
  virtual FsResult<std::size_t> ReadAt(std::uint64_t offset, std::span<char> into) = 0;
  // Writes `text` at the end.
  virtual std::error_code Append(std::string_view text) = 0;
  // Cuts the file back to `length` bytes.
  virtual std::error_code Truncate(std::uint64_t length) = 0;
  virtual std::uint64_t Length() const = 0;
  virtual std::error_code Close() = 0;
};

// How a kept file's appends reach the operating system. Either way an
// append is in the file whatever ends the process afterwards; they differ in
// cost and in what a kill leaves behind.
enum class AppendMode {
  Written,  // one write per append: the file always holds just what was appended
  Mapped,   // copied into a mapping of the file, which is grown (and its blocks
            // reserved) ahead: no system call per append, but after a kill the
            // file ends in NUL bytes past the last append. Closed, it is exact.
};

// One pass over the entries of one directory, in the file system's order.
// "." and ".." may be among them. Entries added or removed while the pass
// goes on may or may not be listed.
class DirectoryCursor {
 public:
  virtual ~DirectoryCursor() = default;
  // Fills `entry` with the next entry and returns true, or returns false when
  // the listing is exhausted.
  virtual FsResult<bool> Next(DirectoryEntry& entry) = 0;
};

// What OpenForReading opens.
enum class FileKinds { RegularOnly, Any };

// Whether StatusOf reports the target of a symbolic link, or the link itself.
enum class SymbolicLinks { Follow, NotFollowed };

// Everything the engine asks of the file system. The real one is
// PosixFileSystem; tests stand in their own.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // With FileKinds::RegularOnly, anything but a regular file fails with
  // FsError::NotRegularFile (and is never waited on); with Any, a FIFO is
  // read as its writer writes.
  virtual FsResult<std::unique_ptr<ReadableFile>> OpenForReading(const std::string& path,
                                                                 FileKinds kinds) = 0;
  // Opens the file at `path` as an AppendFile, made empty when missing. Fails
  // with FsError::SymbolicLink, NotRegularFile or InUse, or the system's
  // reason.
  virtual FsResult<std::unique_ptr<AppendFile>> OpenAppendFile(const std::string& path,
                                                               AppendMode mode) = 0;
  virtual FsResult<std::unique_ptr<DirectoryCursor>> OpenDirectory(const std::string& path) = 0;
  virtual FsResult<PathStatus> StatusOf(const std::string& path, SymbolicLinks links) = 0;
  // Moves `from` to `to`. Fails with errc::file_exists rather than replace
  // anything at `to`, also a file that appears there during the call. The
  // directories that hold `from` and `to` are used only when they are real
  // directories: a symbolic link in their place fails with
  // FsError::SymbolicLink, so that no move ever follows a link.
  virtual std::error_code MoveNoReplace(const std::string& from, const std::string& to) = 0;
  // Moves `from` to `to`, replacing a file at `to`.
  virtual std::error_code MoveReplacing(const std::string& from, const std::string& to) = 0;
  // Creates one directory; an existing directory of that name is success,
  // anything else of that name (a link to a directory too) is not.
  virtual std::error_code CreateDirectory(const std::string& path) = 0;
  // Removes the directory at `path` when it is empty; fails otherwise (a
  // link in its place too) and leaves it as it is.
  virtual std::error_code RemoveDirectory(const std::string& path) = 0;
  // Removes the file at `path` (a link in its place is removed itself, never
  // followed); a directory there is refused.
  virtual std::error_code RemoveFile(const std::string& path) = 0;
  // Whether this program may write the file at `path`, or make and remove
  // names in the directory at `path`: nothing is changed, and the system's
  // reason comes back when it may not (a read-only file system too).
  virtual std::error_code CheckWritable(const std::string& path) = 0;
  // A read-ahead for one run, when this file system gains from one: files
  // hinted to it are warmed ahead of their reading through OpenForReading.
  // None by default (defined beside ReadAhead).
  virtual std::unique_ptr<ReadAhead> StartReadAhead();
};

}  // namespace tessaly
