#include "platform/FileMove.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

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

// The directory that holds a path, opened as the base of the *at calls, never
// through a symbolic link; and the path's last component.
class Parent {
 public:
  explicit Parent(const std::string& path) {
    std::size_t slash = path.rfind('/');
    name_ = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string directory = path.substr(0, slash == std::string::npos ? 0 : slash);
    if (directory.empty()) directory.assign(1, slash == std::string::npos ? '.' : '/');
    fd_ = open(directory.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ >= 0) return;
    error_ = LastError();
    struct stat st;
    if ((errno == ENOTDIR || errno == ELOOP) && lstat(directory.c_str(), &st) == 0 &&
        S_ISLNK(st.st_mode)) {
      error_ = make_error_code(FsError::SymbolicLink);
    }
  }
  ~Parent() {
    if (fd_ >= 0) close(fd_);
  }
  Parent(const Parent&) = delete;
  Parent& operator=(const Parent&) = delete;

  int fd() const { return fd_; }
  const char* name() const { return name_.c_str(); }
  std::error_code error() const { return error_; }

 private:
  int fd_ = -1;
  std::string name_;
  std::error_code error_;
};

// A name in a directory opened as a Parent.
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

std::error_code MoveWithoutReplacing(const std::string& from, const std::string& to,
                                     const MoveCalls& calls) {
  Parent source(from);
  if (source.error()) return source.error();
  // A rename within one directory needs it opened once.
  if (from.rfind('/') == to.rfind('/') &&
      from.compare(0, from.rfind('/'), to, 0, to.rfind('/')) == 0) {
    std::string name = to.substr(to.rfind('/') + 1);
    return MoveAt({source.fd(), source.name()}, {source.fd(), name.c_str()}, calls);
  }
  Parent target(to);
  if (target.error()) return target.error();
  return MoveAt({source.fd(), source.name()}, {target.fd(), target.name()}, calls);
}

std::error_code MoveReplacingTarget(const std::string& from, const std::string& to) {
  Parent source(from), target(to);
  if (source.error()) return source.error();
  if (target.error()) return target.error();
  if (renameat(source.fd(), source.name(), target.fd(), target.name()) != 0) return LastError();
  return {};
}

}  // namespace tessaly
