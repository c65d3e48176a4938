#pragma once

#include <string>
#include <system_error>

#include "platform/FileSystem.h"

namespace tessaly {

// Makes the directory `path` and every missing parent, through `fileSystem`
// (so that a preview makes them in memory only). Links on the way are
// followed, as a user who keeps ~/.local elsewhere expects. The system's
// reason, naming nothing, when one cannot be made or something else stands
// in the way.
std::error_code MakeDirectories(FileSystem& fileSystem, const std::string& path);

}  // namespace tessaly
