#pragma once

#include "platform/FileMove.h"
#include "platform/FileSystem.h"

namespace tessaly {

// The machine's own file system, through POSIX calls.
class PosixFileSystem final : public FileSystem {
 public:
  // The read-ahead's threads: enough to keep a card reader or a disk busy.
  static constexpr std::size_t kReadAheadThreads = 8;

  FsResult<std::unique_ptr<ReadableFile>> OpenForReading(const std::string& path,
                                                         bool regularOnly) override;
  FsResult<std::unique_ptr<AppendFile>> OpenAppendFile(const std::string& path,
                                                       AppendMode mode) override;
  FsResult<std::unique_ptr<DirectoryCursor>> OpenDirectory(const std::string& path) override;
  FsResult<PathStatus> StatusOf(const std::string& path, bool followLinks) override;
  std::error_code MoveNoReplace(const std::string& from, const std::string& to) override;
  std::error_code MoveReplacing(const std::string& from, const std::string& to) override;
  std::error_code CreateDirectory(const std::string& path) override;
  std::error_code RemoveDirectory(const std::string& path) override;
  std::unique_ptr<ReadAhead> StartReadAhead() override;

 private:
  MoveDirectories directories_;
};

}  // namespace tessaly
