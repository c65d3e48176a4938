#pragma once

#include "platform/FileSystem.h"

namespace tessaly {

// What a listing's or a handle's attributes and reparse tag make of an
// entry: a reparse point whose tag stands for another name (a symbolic
// link, a junction) is a link; any other (a cloud placeholder, a
// deduplicated file) is what it holds.
EntryType WindowsEntryType(unsigned long attributes, unsigned long reparseTag);

// The machine's own file system on Windows, through the wide (UTF-16) calls:
// paths stay UTF-8 everywhere else and are converted here, made absolute and
// given the "\\?\" prefix, so names in any script and paths of any length
// work. Links (as WindowsEntryType tells them) are reported, never entered
// or moved through. There is no read-ahead.
class WindowsFileSystem final : public FileSystem {
 public:
  FsResult<std::unique_ptr<ReadableFile>> OpenForReading(const std::string& path,
                                                         FileKinds kinds) override;
  // The file is opened without sharing its writing: a second run, or another
  // program that wants to write it, is refused with FsError::InUse while it
  // is open. Both modes write each append at once.
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
};

}  // namespace tessaly
