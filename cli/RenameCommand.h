#pragma once

#include <ostream>
#include <span>
#include <string>

#include "engine/RenameRun.h"
#include "platform/FileSystem.h"

namespace tessaly {

// `tessaly-cli rename [--dry-run] [--no-subdir] [--maker] [--model]
// [--list FILE] DIR`. Runs the whole engine on DIR; problems go to `err`; the
// list's place, the summary line and, as the last line, "Rename Count = N" go
// to `out`. With --dry-run the run goes over a preview of the file system:
// nothing changes on disk, and the lines the list would get are written to
// `out` instead. Returns 0 when nothing went wrong, 1 when some picture was
// passed over or a move failed, 2 for a usage error or a run that could not
// start.
int RunRenameCommand(std::span<const std::string> arguments, FileSystem& fileSystem,
                     const RenameListPlace& defaultPlace, bool showProgress, std::ostream& out,
                     std::ostream& err);

}  // namespace tessaly
