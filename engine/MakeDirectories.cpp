#include "engine/MakeDirectories.h"

#include "core/Path.h"

namespace tessaly {
namespace {

// Success when `path` is a directory or a link to one; errc::not_a_directory
// when something else stands there; the look-up's reason otherwise.
std::error_code IsDirectory(FileSystem& fileSystem, const std::string& path) {
  FsResult<PathStatus> status = fileSystem.StatusOf(path, SymbolicLinks::Follow);
  if (!status.ok()) return status.error();
  return status->type == EntryType::Directory ? std::error_code()
                                              : std::make_error_code(std::errc::not_a_directory);
}

}  // namespace

std::error_code MakeDirectories(FileSystem& fileSystem, const std::string& path) {
  std::error_code error = IsDirectory(fileSystem, path);
  if (error != std::errc::no_such_file_or_directory) return error;
  // Each missing directory from the top down; the first one (a root or a
  // drive) is never made.
  for (std::size_t end = path.find_first_of(kPathSeparators, 1);; ++end) {
    end = std::min(path.find_first_of(kPathSeparators, end), path.size());
    const std::string prefix = path.substr(0, end);
    error = IsDirectory(fileSystem, prefix);
    if (error == std::errc::no_such_file_or_directory) {
      error = fileSystem.CreateDirectory(prefix);
      // A link that leads nowhere stands in the way.
      if (error == FsError::SymbolicLink) error = std::make_error_code(std::errc::file_exists);
    }
    if (error || end >= path.size()) return error;
  }
}

}  // namespace tessaly
