#pragma once

#include <sys/types.h>
#include <time.h>

#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/ReadableFile.h"

namespace tessaly {

// The system calls a move without replacing is made of, so that a test can
// stand in a file system that lacks some of them. Each works as its system
// call does: -1 with errno set on failure.
struct MoveCalls {
  std::function<int(int, const char*, int, const char*)> renameNoReplace;  // renameat2 NOREPLACE
  std::function<int(int, const char*, int, const char*)> link;             // linkat
  std::function<int(int, const char*)> createExclusive;  // openat O_CREAT | O_EXCL: the new fd

  static const MoveCalls& System();
};

// The directories that moves go from and to, each opened once, never
// through a symbolic link, and kept open (the few used last), so that a run
// of moves in one directory does not open it again for every picture. A kept
// directory serves its path only while it still stands there, or, for the
// move of a file that was opened from that path, while it holds that very
// file as its only link.
class MoveDirectories {
 public:
  MoveDirectories() = default;
  ~MoveDirectories();
  MoveDirectories(const MoveDirectories&) = delete;
  MoveDirectories& operator=(const MoveDirectories&) = delete;

  // The open directory `directory` (a path; "." when empty), or why it
  // cannot be used: FsError::SymbolicLink for a link in its place.
  FsResult<int> Open(std::string_view directory);
  // As Open, for a move of `file` from `name` in `directory`. A kept directory
  // that holds `file` under `name`, with no other link, is the one the path
  // led to when the file was opened, and serves without the path being
  // looked up again: only the name is.
  FsResult<int> OpenHolding(std::string_view directory, const char* name, const FileIdentity& file);

 private:
  struct Kept {
    std::string path;
    int fd;
    dev_t device;
    ino_t inode;
  };
  // The kept directory of that path, or open_.end().
  std::vector<Kept>::iterator Find(std::string_view directory);
  // Makes `kept` the one used last; its descriptor.
  int Use(std::vector<Kept>::iterator kept);

  std::vector<Kept> open_;  // the one used last at the back
};

// Renames `from` to `to` without ever replacing an existing `to`, also one
// that appears while the call runs: renameat2 with RENAME_NOREPLACE where the
// file system supports it; else a hard link to the new name and the removal
// of the old one; else (some FUSE, exFAT and network file systems) the new
// name is first reserved with a file of this call's own, made only if the
// name is free, and the picture is renamed onto that. Returns
// errc::file_exists when `to` exists. The directories that hold `from` and
// `to` are opened without following a link: a link in their place fails with
// FsError::SymbolicLink, so the move never leaves the directory it names.
// With `fromFile`, the identity of the file as it was opened from `from`, the
// directory of `from` is opened as OpenHolding does.
std::error_code MoveWithoutReplacing(const std::string& from, const std::string& to,
                                     MoveDirectories& directories,
                                     const MoveCalls& calls = MoveCalls::System(),
                                     const FileIdentity* fromFile = nullptr);

// Renames `from` to `to`, replacing a file at `to`; the directories as above.
std::error_code MoveReplacingTarget(const std::string& from, const std::string& to,
                                    MoveDirectories& directories,
                                    const FileIdentity* fromFile = nullptr);

}  // namespace tessaly
