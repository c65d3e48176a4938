#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/ReadAhead.h"
#include "platform/posix/FileMove.h"
#include "platform/posix/WarmFileOrListing.h"

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

PathStatus StatusFromStat(const struct stat& st) {
  PathStatus status;
  status.type = TypeOfMode(st.st_mode);
  status.size = static_cast<std::uint64_t>(st.st_size);
  status.device = static_cast<std::uint64_t>(st.st_dev);
  status.inode = static_cast<std::uint64_t>(st.st_ino);
  status.modifiedNanoseconds =
      static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  return status;
}

class PosixFile final : public ReadableFile {
 public:
  PosixFile(int fd, const PathStatus& status) : fd_(fd), status_(status) {}
  ~PosixFile() override { close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  FsResult<std::size_t> Read(std::span<std::uint8_t> into) override {
    for (;;) {
      ssize_t n = read(fd_, into.data(), into.size());
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno != EINTR) return LastError();
    }
  }
  std::optional<PathStatus> StatusAtOpen() const override { return status_; }
  FsResult<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
    for (;;) {
      ssize_t n = pread(fd_, into.data(), into.size(), static_cast<off_t>(offset));
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno != EINTR) return LastError();
    }
  }

 private:
  int fd_;
  PathStatus status_;
};

class PosixAppendFile final : public AppendFile {
 public:
  PosixAppendFile(int fd, std::uint64_t length, AppendMode mode)
      : fd_(fd), length_(length), size_(length), mode_(mode) {}
  ~PosixAppendFile() override { Close(); }
  PosixAppendFile(const PosixAppendFile&) = delete;
  PosixAppendFile& operator=(const PosixAppendFile&) = delete;

  FsResult<std::size_t> ReadAt(std::uint64_t offset, std::span<char> into) override {
    if (offset >= length_) return std::size_t{0};
    into = into.first(std::min<std::uint64_t>(into.size(), length_ - offset));
    for (;;) {
      ssize_t n = pread(fd_, into.data(), into.size(), static_cast<off_t>(offset));
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno != EINTR) return LastError();
    }
  }
  std::error_code Append(std::string_view text) override {
    if (mode_ == AppendMode::Mapped) {
      if (length_ + text.size() > size_) {
        if (std::error_code error = Grow(length_ + text.size())) return error;
      }
      std::memcpy(map_ + length_, text.data(), text.size());
      length_ += text.size();
      return {};
    }
    while (!text.empty()) {
      ssize_t n = pwrite(fd_, text.data(), text.size(), static_cast<off_t>(length_));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return LastError();
      text.remove_prefix(static_cast<std::size_t>(n));
      length_ += static_cast<std::uint64_t>(n);
    }
    size_ = length_;
    return {};
  }
  std::error_code Truncate(std::uint64_t length) override {
    if (mode_ == AppendMode::Mapped && map_ != nullptr) {
      if (length < length_) std::memset(map_ + length, 0, length_ - length);
      length_ = std::min(length, length_);
      return {};
    }
    if (ftruncate(fd_, static_cast<off_t>(length)) != 0) return LastError();
    length_ = size_ = length;
    return {};
  }
  std::uint64_t Length() const override { return length_; }
  std::error_code Close() override {
    if (fd_ < 0) return {};
    std::error_code error;
    if (map_ != nullptr) {
      munmap(map_, size_);
      map_ = nullptr;
      if (ftruncate(fd_, static_cast<off_t>(length_)) != 0) error = LastError();
    }
    int rc = close(fd_);  // the lock goes with the descriptor
    fd_ = -1;
    if (rc != 0 && errno != EINTR && !error) error = LastError();
    return error;
  }

 private:
  // Makes the file (and its mapping) at least `needed` bytes long, in steps
  // of 1 MiB, its blocks reserved: a store into the mapping then never
  // meets a full disk.
  std::error_code Grow(std::uint64_t needed) {
    constexpr std::uint64_t kStep = 1 << 20;
    std::uint64_t size = (needed + kStep - 1) / kStep * kStep;
    if (int rc = posix_fallocate(fd_, static_cast<off_t>(size_), static_cast<off_t>(size - size_));
        rc != 0) {
      return std::error_code(rc, std::generic_category());
    }
    void* map = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (map == MAP_FAILED) return LastError();
    if (map_ != nullptr) munmap(map_, size_);
    map_ = static_cast<char*>(map);
    size_ = size;
    return {};
  }

  int fd_;
  std::uint64_t length_;  // what was appended
  std::uint64_t size_;    // what the file holds, reserved room included
  AppendMode mode_;
  char* map_ = nullptr;
};

// Opens `path` without following a link in its last component and without
// waiting on a FIFO; checks that it is a regular file when asked. `st` gets
// what the file was as it was opened.
FsResult<int> OpenChecked(const std::string& path, int flags, FileKinds kinds, struct stat& st) {
  int fd;
  do {
    fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == ELOOP && (flags & O_NOFOLLOW) != 0) return make_error_code(FsError::SymbolicLink);
    return LastError();
  }
  std::error_code refused;
  if (fstat(fd, &st) != 0) {
    refused = LastError();
  } else if (kinds == FileKinds::RegularOnly && !S_ISREG(st.st_mode)) {
    refused = make_error_code(FsError::NotRegularFile);
  }
  if (refused) {
    close(fd);
    return refused;
  }
  if (S_ISFIFO(st.st_mode)) {
    // Asked for by name, a FIFO is read as a reader expects: opened again,
    // this time waiting for its writer.
    close(fd);
    do {
      fd = open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return LastError();
  }
  if (!S_ISREG(st.st_mode)) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

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

FsResult<std::unique_ptr<ReadableFile>> PosixFileSystem::OpenForReading(const std::string& path,
                                                                        FileKinds kinds) {
  struct stat st;
  FsResult<int> fd = OpenChecked(path, O_RDONLY, kinds, st);
  if (!fd.ok()) return fd.error();
  const PathStatus status = StatusFromStat(st);
  if (status.type == EntryType::Regular) {
    lastOpenedPath_ = path;
    lastOpened_ = status;
  }
  return std::unique_ptr<ReadableFile>(std::make_unique<PosixFile>(fd.value(), status));
}

FsResult<std::unique_ptr<AppendFile>> PosixFileSystem::OpenAppendFile(const std::string& path,
                                                                      AppendMode mode) {
  struct stat st;
  FsResult<int> fd = OpenChecked(path, O_RDWR | O_CREAT | O_NOFOLLOW, FileKinds::RegularOnly, st);
  if (!fd.ok()) return fd.error();
  if (flock(fd.value(), LOCK_EX | LOCK_NB) != 0 || fstat(fd.value(), &st) != 0) {
    std::error_code error = errno == EWOULDBLOCK ? make_error_code(FsError::InUse) : LastError();
    close(fd.value());
    return error;
  }
  return std::unique_ptr<AppendFile>(
      std::make_unique<PosixAppendFile>(fd.value(), static_cast<std::uint64_t>(st.st_size), mode));
}

FsResult<std::unique_ptr<DirectoryCursor>> PosixFileSystem::OpenDirectory(const std::string& path) {
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return LastError();
  return std::unique_ptr<DirectoryCursor>(std::make_unique<PosixDirectory>(dir));
}

FsResult<PathStatus> PosixFileSystem::StatusOf(const std::string& path, SymbolicLinks links) {
  struct stat st;
  int rc = links == SymbolicLinks::Follow ? stat(path.c_str(), &st) : lstat(path.c_str(), &st);
  if (rc != 0) return LastError();
  return StatusFromStat(st);
}

std::error_code PosixFileSystem::MoveNoReplace(const std::string& from, const std::string& to) {
  return WithOpenedFile(from, to, [&](const FileIdentity* opened) {
    return MoveWithoutReplacing(from, to, directories_, MoveCalls::System(), opened);
  });
}

std::error_code PosixFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  return WithOpenedFile(from, to, [&](const FileIdentity* opened) {
    return MoveReplacingTarget(from, to, directories_, opened);
  });
}

std::error_code PosixFileSystem::CreateDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return {};
  std::error_code error = LastError();
  if (errno == EEXIST) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return error;
    if (S_ISDIR(st.st_mode)) return {};
    if (S_ISLNK(st.st_mode)) return make_error_code(FsError::SymbolicLink);
    return std::make_error_code(std::errc::not_a_directory);
  }
  return error;
}

std::unique_ptr<ReadAhead> PosixFileSystem::StartReadAhead() {
  ReadAheadDepth depth(1, kMostReadsAhead);
  // For measurements: TESSALY_READ_AHEAD_THREADS=N keeps N warms in flight
  // throughout, and 0 runs without a read-ahead.
  if (const char* chosen = std::getenv("TESSALY_READ_AHEAD_THREADS")) {
    auto fixed = static_cast<std::size_t>(std::strtoul(chosen, nullptr, 10));
    if (fixed == 0) return nullptr;
    depth = ReadAheadDepth(fixed, fixed);
  }
  return std::make_unique<ReadAhead>(depth, WarmFileOrListing);
}

std::error_code PosixFileSystem::RemoveDirectory(const std::string& path) {
  return rmdir(path.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code PosixFileSystem::RemoveFile(const std::string& path) {
  return unlink(path.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code PosixFileSystem::CheckWritable(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return LastError();
  // A directory must be searchable as well, for its names to be reached.
  int wanted = S_ISDIR(st.st_mode) ? W_OK | X_OK : W_OK;
  return faccessat(AT_FDCWD, path.c_str(), wanted, AT_EACCESS) == 0 ? std::error_code()
                                                                    : LastError();
}

}  // namespace tessaly
