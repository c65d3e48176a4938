#include "platform/FileMove.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

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

int RenameNoReplace(const char* from, const char* to) {
#ifdef SYS_renameat2
  return static_cast<int>(syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, kRenameNoReplace));
#else
  errno = ENOSYS;
  return -1;
#endif
}

bool Unsupported(int error) {
  return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP;
}

}  // namespace

std::error_code MoveWithoutReplacing(const std::string& from, const std::string& to) {
  if (RenameNoReplace(from.c_str(), to.c_str()) == 0) {
    return {};
  }
  if (!Unsupported(errno)) {
    return LastError();
  }
  // link() fails with EEXIST rather than replace, so it is as safe as the
  // rename it stands in for.
  if (link(from.c_str(), to.c_str()) == 0) {
    if (unlink(from.c_str()) != 0) {
      std::error_code error = LastError();
      unlink(to.c_str());
      return error;
    }
    return {};
  }
  if (errno != EPERM && !Unsupported(errno) && errno != EMLINK) {
    return LastError();
  }
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) {
    return std::make_error_code(std::errc::file_exists);
  }
  if (errno != ENOENT) {
    return LastError();
  }
  if (rename(from.c_str(), to.c_str()) != 0) {
    return LastError();
  }
  return {};
}

std::error_code MoveReplacingTarget(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) {
    return LastError();
  }
  return {};
}

}  // namespace tessaly
