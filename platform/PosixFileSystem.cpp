#include "platform/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileMove.h"

namespace tessaly {
namespace {

std::error_code LastError() {
  return {errno, std::generic_category()};
}

EntryType TypeOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryType::Regular;
  if (S_ISDIR(mode)) return EntryType::Directory;
  if (S_ISLNK(mode)) return EntryType::Symlink;
  return EntryType::Other;
}

class PosixFile final : public ReadableFile {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  FsResult<std::size_t> Read(std::span<std::uint8_t> into) override {
    for (;;) {
      ssize_t n = read(fd_, into.data(), into.size());
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno == EAGAIN) return std::size_t{0};  // an empty FIFO
      if (errno != EINTR) return LastError();
    }
  }

 private:
  int fd_;
};

class PosixDirectory final : public DirectoryCursor {
 public:
  explicit PosixDirectory(DIR* dir) : dir_(dir) {}
  ~PosixDirectory() override { closedir(dir_); }
  PosixDirectory(const PosixDirectory&) = delete;
  PosixDirectory& operator=(const PosixDirectory&) = delete;

  FsResult<bool> Next(DirectoryEntry& entry) override {
    errno = 0;
    const dirent* d = readdir(dir_);
    if (d == nullptr) {
      if (errno != 0) return LastError();
      return false;
    }
    entry.name.assign(d->d_name);
    entry.typeError.clear();
    switch (d->d_type) {
      case DT_REG:
        entry.type = EntryType::Regular;
        break;
      case DT_DIR:
        entry.type = EntryType::Directory;
        break;
      case DT_LNK:
        entry.type = EntryType::Symlink;
        break;
      case DT_UNKNOWN: {
        // Some file systems leave the type to a separate look-up.
        struct stat st;
        if (fstatat(dirfd(dir_), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
          entry.type = TypeOfMode(st.st_mode);
        } else {
          entry.type = EntryType::Unknown;
          entry.typeError = LastError();
        }
        break;
      }
      default:
        entry.type = EntryType::Other;
        break;
    }
    return true;
  }

 private:
  DIR* dir_;
};

}  // namespace

FsResult<std::unique_ptr<ReadableFile>> PosixFileSystem::OpenForReading(const std::string& path) {
  int fd;
  do {
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return LastError();
  return std::unique_ptr<ReadableFile>(std::make_unique<PosixFile>(fd));
}

FsResult<std::unique_ptr<DirectoryCursor>> PosixFileSystem::OpenDirectory(const std::string& path) {
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return LastError();
  return std::unique_ptr<DirectoryCursor>(std::make_unique<PosixDirectory>(dir));
}

FsResult<PathStatus> PosixFileSystem::StatusOf(const std::string& path, bool followLinks) {
  struct stat st;
  int rc = followLinks ? stat(path.c_str(), &st) : lstat(path.c_str(), &st);
  if (rc != 0) return LastError();
  PathStatus status;
  status.type = TypeOfMode(st.st_mode);
  status.size = static_cast<std::uint64_t>(st.st_size);
  status.modifiedSeconds = static_cast<std::int64_t>(st.st_mtime);
  return status;
}

std::error_code PosixFileSystem::MoveNoReplace(const std::string& from, const std::string& to) {
  return MoveWithoutReplacing(from, to);
}

std::error_code PosixFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  return MoveReplacingTarget(from, to);
}

std::error_code PosixFileSystem::CreateDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return {};
  std::error_code error = LastError();
  if (errno == EEXIST) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return {};
    return std::make_error_code(std::errc::not_a_directory);
  }
  return error;
}

}  // namespace tessaly
