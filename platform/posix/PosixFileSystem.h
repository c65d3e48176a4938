#pragma once

#include "platform/FileSystem.h"
#include "platform/posix/FileMove.h"

namespace tessaly {

// The machine's own file system, through POSIX calls.
class PosixFileSystem final : public FileSystem {
 public:
  // The most warms the read-ahead keeps in flight: what an SSD answers at
  // once. It starts with one and goes deeper only while the device rewards
  // it (a card in a USB reader answers one request at a time).
  static constexpr std::size_t kMostReadsAhead = 32;

  FsResult<std::unique_ptr<ReadableFile>> OpenForReading(const std::string& path,
                                                         FileKinds kinds) override;
  FsResult<std::unique_ptr<AppendFile>> OpenAppendFile(const std::string& path,
                                                       AppendMode mode) override;
  FsResult<std::unique_ptr<DirectoryCursor>> OpenDirectory(const std::string& path) override;
  FsResult<PathStatus> StatusOf(const std::string& path, SymbolicLinks links) override;
  std::error_code MoveNoReplace(const std::string& from, const std::string& to) override;
  std::error_code MoveReplacing(const std::string& from, const std::string& to) override;
  std::error_code CreateDirectory(const std::string& path) override;
  std::error_code RemoveDirectory(const std::string& path) override;
  std::error_code RemoveFile(const std::string& path) override;
  std::error_code CheckWritable(const std::string& path) override;
  std::unique_ptr<ReadAhead> StartReadAhead() override;

 private:
  // Makes `move`, given the identity of the file opened last when it is the
  // one at `from`; that file is then followed to `to`.
  template <typename Move>
  std::error_code WithOpenedFile(const std::string& from, const std::string& to, Move move) {
    const FileIdentity* opened = from == lastOpenedPath_ ? &lastOpened_ : nullptr;
    std::error_code error = move(opened);
    if (opened && !error) lastOpenedPath_ = to;
    return error;
  }

  MoveDirectories directories_;
  // The regular file opened for reading last, and where it is now: a move
  // from there finds its directory by the file.
  std::string lastOpenedPath_;
  FileIdentity lastOpened_{};
};

}  // namespace tessaly
