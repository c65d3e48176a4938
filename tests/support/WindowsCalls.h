#pragma once

// What Windows tests do to files that the standard library cannot: hold a
// file open the way another program may, set its attributes.
#ifdef _WIN32
#include <windows.h>
#undef CreateDirectory
#undef RemoveDirectory

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/windows/WideText.h"

namespace tessaly::test {

// Holds the file at `path` open without sharing it, as another program may
// (an editor, a backup tool); it is let go when the result goes.
inline std::shared_ptr<void> HoldWithoutSharing(const std::string& path) {
  HANDLE handle = CreateFileW(WidePath(path).value().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + path);
  return std::shared_ptr<void>(handle, CloseHandle);
}

// Adds `attributes` (FILE_ATTRIBUTE_READONLY, _HIDDEN, _SYSTEM) to the file
// or directory at `path`.
inline void AddAttributes(const std::string& path, DWORD attributes) {
  std::wstring wide = WidePath(path).value();
  if (!SetFileAttributesW(wide.c_str(), GetFileAttributesW(wide.c_str()) | attributes)) {
    throw std::runtime_error("cannot set the attributes of " + path);
  }
}

}  // namespace tessaly::test
#endif
