#pragma once

#include <string>
#include <system_error>

namespace tessaly {

// Renames `from` to `to` without ever replacing an existing `to`, also one
// that appears while the call runs: renameat2 with RENAME_NOREPLACE where the
// file system supports it, else a hard link to the new name followed by the
// removal of the old one. A file system that offers neither (some network
// and FUSE file systems) gets a check followed by a plain rename, which
// leaves a window between the two. Returns errc::file_exists when `to` exists.
std::error_code MoveWithoutReplacing(const std::string& from, const std::string& to);

// Renames `from` to `to`, replacing a file at `to`.
std::error_code MoveReplacingTarget(const std::string& from, const std::string& to);

}  // namespace tessaly
