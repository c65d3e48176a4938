#pragma once

// The file system of the machine the program is built for.
#ifdef _WIN32
#include "platform/windows/WindowsFileSystem.h"
namespace tessaly {
using NativeFileSystem = WindowsFileSystem;
}
#else
#include "platform/posix/PosixFileSystem.h"
namespace tessaly {
using NativeFileSystem = PosixFileSystem;
}
#endif
