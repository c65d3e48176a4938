#include "platform/posix/FileMove.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "core/Path.h"
#include "platform/FsError.h"

namespace tessaly {
namespace {

std::error_code LastError() {
  return {errno, std::generic_category()};
}

#ifndef RENAME_NOREPLACE
constexpr unsigned kRenameNoReplace = 1;
#else
constexpr unsigned kRenameNoReplace = RENAME_NOREPLACE;
#endif

bool Unsupported(int error) {
  return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP;
}

// A path split at its last "/": the directory ("." for none, "/" for the
// root) and the name, which ends where the path does.
std::pair<std::string_view, const char*> Split(const std::string& path) {
  std::string_view directory = DirectoryOf(path);
  const char* name = path.c_str() + directory.size();
  if (directory.size() > 1) directory.remove_suffix(1);  // the root keeps its "/"
  return {directory.empty() ? "." : directory, name};
}

// A name in an open directory.
struct At {
  int fd;
  const char* name;
};

std::error_code MoveAt(At from, At to, const MoveCalls& calls) {
  if (calls.renameNoReplace(from.fd, from.name, to.fd, to.name) == 0) return {};
  if (!Unsupported(errno)) return LastError();
  // link() fails with EEXIST rather than replace, so it is as safe as the
  // rename it stands in for.
  if (calls.link(from.fd, from.name, to.fd, to.name) == 0) {
    if (unlinkat(from.fd, from.name, 0) == 0) return {};
    std::error_code error = LastError();
    unlinkat(to.fd, to.name, 0);
    return error;
  }
  if (errno != EPERM && errno != EMLINK && !Unsupported(errno)) return LastError();
  // Reserve the name with an empty file of our own, then rename onto it. Had
  // another program put its own file there meanwhile, that one stays.
  int placeholder = calls.createExclusive(to.fd, to.name);
  if (placeholder < 0) return LastError();
  struct stat ours, there;
  int statted = fstat(placeholder, &ours);
  close(placeholder);
  if (statted != 0 || fstatat(to.fd, to.name, &there, AT_SYMLINK_NOFOLLOW) != 0 ||
      there.st_ino != ours.st_ino || there.st_dev != ours.st_dev) {
    return std::make_error_code(std::errc::file_exists);
  }
  if (renameat(from.fd, from.name, to.fd, to.name) == 0) return {};
  std::error_code error = LastError();
  unlinkat(to.fd, to.name, 0);
  return error;
}

}  // namespace

const MoveCalls& MoveCalls::System() {
  static const MoveCalls calls{
      [](int fromDir, const char* from, int toDir, const char* to) {
#ifdef SYS_renameat2
        return static_cast<int>(syscall(SYS_renameat2, fromDir, from, toDir, to, kRenameNoReplace));
#else
        errno = ENOSYS;
        return -1;
#endif
      },
      [](int fromDir, const char* from, int toDir, const char* to) {
        return linkat(fromDir, from, toDir, to, 0);
      },
      [](int dir, const char* name) {
        return openat(dir, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
      }};
  return calls;
}

MoveDirectories::~MoveDirectories() {
  for (const Kept& kept : open_)
    close(kept.fd);
}

FsResult<int> MoveDirectories::Open(std::string_view directoryPath) {
  const std::string directory(directoryPath);
  // A kept directory serves only while it still stands at its path: one
  // renamed away meanwhile, and another put in its place, is opened anew.
  struct stat now;
  bool looked = lstat(directory.c_str(), &now) == 0;
  if (auto it = Find(directory); it != open_.end()) {
    if (looked && it->inode == now.st_ino && it->device == now.st_dev) return Use(it);
    close(it->fd);
    open_.erase(it);
  }
  int fd = open(directory.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat opened;
  if (fd < 0 || fstat(fd, &opened) != 0) {
    std::error_code error = LastError();
    if (fd >= 0) close(fd);
    if ((error == std::errc::not_a_directory ||
         error == std::errc::too_many_symbolic_link_levels) &&
        looked && S_ISLNK(now.st_mode)) {
      error = make_error_code(FsError::SymbolicLink);
    }
    return error;
  }
  constexpr std::size_t kKept = 32;
  if (open_.size() == kKept) {
    close(open_.front().fd);
    open_.erase(open_.begin());
  }
  open_.push_back({directory, fd, opened.st_dev, opened.st_ino});
  return fd;
}

FsResult<int> MoveDirectories::OpenHolding(std::string_view directory, const char* name,
                                           const FileIdentity& file) {
  // With one link, the file's name in the kept directory is the one its
  // path led to.
  if (auto it = Find(directory); it != open_.end()) {
    struct stat there;
    if (fstatat(it->fd, name, &there, AT_SYMLINK_NOFOLLOW) == 0 && there.st_ino == file.inode &&
        there.st_dev == file.device && there.st_nlink == 1) {
      return Use(it);
    }
  }
  return Open(directory);
}

std::vector<MoveDirectories::Kept>::iterator MoveDirectories::Find(std::string_view directory) {
  auto it = std::find_if(open_.rbegin(), open_.rend(),
                         [&](const Kept& kept) { return kept.path == directory; });
  return it == open_.rend() ? open_.end() : std::prev(it.base());
}

int MoveDirectories::Use(std::vector<Kept>::iterator kept) {
  std::rotate(kept, kept + 1, open_.end());
  return open_.back().fd;
}

namespace {

// Opens the directories of a move's two ends and makes the move with them.
template <typename Move>
std::error_code WithEnds(const std::string& from, const std::string& to,
                         MoveDirectories& directories, const FileIdentity* fromFile, Move move) {
  auto [fromDirectory, fromName] = Split(from);
  auto [toDirectory, toName] = Split(to);
  FsResult<int> sourceDirectory = fromFile
                                      ? directories.OpenHolding(fromDirectory, fromName, *fromFile)
                                      : directories.Open(fromDirectory);
  if (!sourceDirectory.ok()) return sourceDirectory.error();
  FsResult<int> targetDirectory =
      toDirectory == fromDirectory ? sourceDirectory : directories.Open(toDirectory);
  if (!targetDirectory.ok()) return targetDirectory.error();
  const At source{sourceDirectory.value(), fromName}, target{targetDirectory.value(), toName};
  std::error_code error = move(source, target);
  if (error || !fromFile) return error;
  // What was moved must be the file that was read. Another one put in its
  // place meanwhile goes back, without replacing anything. Where the file
  // system numbers a file anew as it moves (FAT through FUSE), its length
  // and time tell it, the time as FAT keeps it, in steps of two seconds.
  const std::int64_t readSeconds = std::chrono::floor<std::chrono::seconds>(
                                       std::chrono::nanoseconds(fromFile->modifiedNanoseconds))
                                       .count();
  struct stat moved;
  if (fstatat(target.fd, target.name, &moved, AT_SYMLINK_NOFOLLOW) == 0 &&
      (moved.st_ino != fromFile->inode || moved.st_dev != fromFile->device) &&
      (static_cast<std::uint64_t>(moved.st_size) != fromFile->size ||
       std::abs(moved.st_mtim.tv_sec - readSeconds) > 2)) {
    MoveAt(target, source, MoveCalls::System());
    return make_error_code(FsError::ReplacedSinceRead);
  }
  return {};
}

}  // namespace

std::error_code MoveWithoutReplacing(const std::string& from, const std::string& to,
                                     MoveDirectories& directories, const MoveCalls& calls,
                                     const FileIdentity* fromFile) {
  return WithEnds(from, to, directories, fromFile,
                  [&](At source, At target) { return MoveAt(source, target, calls); });
}

std::error_code MoveReplacingTarget(const std::string& from, const std::string& to,
                                    MoveDirectories& directories, const FileIdentity* fromFile) {
  return WithEnds(from, to, directories, fromFile, [](At source, At target) {
    return renameat(source.fd, source.name, target.fd, target.name) == 0 ? std::error_code{}
                                                                         : LastError();
  });
}

}  // namespace tessaly
