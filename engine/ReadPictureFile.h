#pragma once

#include <memory>
#include <string>

#include "core/ReadPictureInfo.h"
#include "platform/FileSystem.h"

namespace tessaly {

// ReadPictureInfo on the file at `path`, opened as `kinds` allows and closed
// again before this returns; the result holds the file's status as it was
// opened. An empty path opens nothing and is not accepted.
inline ReadResult ReadPictureInfo(FileSystem& fileSystem, const std::string& path,
                                  FileKinds kinds) {
  if (path.empty()) return {};
  FsResult<std::unique_ptr<ReadableFile>> file = fileSystem.OpenForReading(path, kinds);
  ReadResult result;
  if (!file.ok()) {
    result.failure = ReadFailure::CannotOpen;
    result.systemError = file.error();
    return result;
  }
  result = ReadPictureInfo(*file.value());
  result.fileStatus = file.value()->StatusAtOpen();
  return result;
}

}  // namespace tessaly
