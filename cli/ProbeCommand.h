#pragma once

#include <ostream>
#include <span>
#include <string>

#include "platform/FileSystem.h"

namespace tessaly {

// `tessaly-cli probe [--maker] [--model] FILE...`: one JSON object per file
// and line on `out`. Returns 0 when every file could be read, 1 when some
// could not, 2 for a usage error (with the usage text on `err`).
int RunProbeCommand(std::span<const std::string> arguments, FileSystem& fileSystem,
                    std::ostream& out, std::ostream& err);

}  // namespace tessaly
