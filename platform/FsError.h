#pragma once

#include <system_error>

namespace tessaly {

// Reasons of this program's own for refusing a file, as error codes beside
// the system's.
enum class FsError {
  NotRegularFile = 1,    // a FIFO, device, socket or directory where a file is wanted
  SymbolicLink,          // a symbolic link, which is not followed
  InUse,                 // another run holds the file's lock
  ForeignContent,        // the file holds something this program did not write
  HeldByAnotherProgram,  // open in another program that shares it with no one (Windows)
  ReplacedSinceRead,     // another file took the name of the file read; it was not moved
};

const std::error_category& FsErrorCategory();

inline std::error_code make_error_code(FsError error) {
  return {static_cast<int>(error), FsErrorCategory()};
}

}  // namespace tessaly

template <>
struct std::is_error_code_enum<tessaly::FsError> : std::true_type {};
