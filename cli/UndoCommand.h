#pragma once

#include <ostream>
#include <span>
#include <string>

#include "platform/FileSystem.h"

namespace tessaly {

// `tessaly-cli undo [--dry-run] [JOURNAL]`. Takes back the changes of the
// run that JOURNAL records (the newest journal in `journalDirectory` when
// none is named). Each change left as it is goes to `err` with its reason;
// a closing summary goes to `out`, after, with --dry-run, the moves undo
// would make (nothing changes on disk then). Returns 0 when everything was
// undone, 1 when something was refused or is lost, 2 for a usage error or a
// journal that cannot be read.
int RunUndoCommand(std::span<const std::string> arguments, FileSystem& fileSystem,
                   const std::string& journalDirectory, std::ostream& out, std::ostream& err);

}  // namespace tessaly
