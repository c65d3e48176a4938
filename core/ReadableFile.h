#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <system_error>

#include "core/FsResult.h"

namespace tessaly {

enum class EntryType { Regular, Directory, Symlink, Other, Unknown };

// What tells one file from another over time: where it lives, its length,
// and when its content last changed (nanoseconds since the epoch). A rename
// keeps all four; an edit or another file in its place does not.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNanoseconds = 0;

  bool operator==(const FileIdentity&) const = default;
};

struct PathStatus : FileIdentity {
  EntryType type = EntryType::Unknown;
};

// A file open for reading, forward only.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // Reads up to into.size() bytes at the current position; 0 means the end of
  // the file.
  virtual FsResult<std::size_t> Read(std::span<std::uint8_t> into) = 0;
  // What the file was as it was opened (type, size, identity), when known.
  virtual std::optional<PathStatus> StatusAtOpen() const { return std::nullopt; }
  // Reads up to into.size() bytes at `offset` without moving the position; 0
  // at or past the end. A file that cannot (a pipe) fails with
  // errc::operation_not_supported.
  virtual FsResult<std::size_t> ReadAt(std::uint64_t /*offset*/, std::span<std::uint8_t> /*into*/) {
    return std::make_error_code(std::errc::operation_not_supported);
  }
};

// Appends the rest of `file` to `text`; the reason when a read fails.
inline std::error_code ReadToEnd(ReadableFile& file, std::string& text) {
  std::uint8_t block[65536];
  for (;;) {
    FsResult<std::size_t> n = file.Read(block);
    if (!n.ok()) return n.error();
    if (n.value() == 0) return {};
    text.append(reinterpret_cast<const char*>(block), n.value());
  }
}

}  // namespace tessaly
