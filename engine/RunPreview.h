#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/FrontEnd.h"
#include "engine/RenameRun.h"
#include "engine/UndoRun.h"
#include "platform/FileSystem.h"

namespace tessaly {

// Hears each line that a previewed run writes to its rename list, as the
// run writes it, without its line break.
using ListLineSink = std::function<void(std::string_view line)>;

struct PreviewOutcome {
  RunOutcome run;
  std::int64_t handled = 0;  // pictures the rename step handled, as RenameCount counts them
};

// What a rename run of `directory` would do, without doing it: the same run
// over a file system that keeps every change in memory. Nothing changes on
// disk; the journal is made and left out where the run would keep it, so
// that a place that cannot take one refuses the preview as it would refuse
// the run. Replace questions go to `frontEnd` as in a run.
PreviewOutcome PreviewRenameRun(FileSystem& fileSystem, FrontEnd& frontEnd,
                                const std::string& directory, RenameListPlace place,
                                const ListLineSink& listLine);

// What undoing the journal at `path` would do, without doing it: the same
// undo over a file system that keeps every change in memory. `movedBack`
// hears of each picture that would move back; refusals go to `frontEnd`.
UndoOutcome PreviewUndo(FileSystem& fileSystem, FrontEnd& frontEnd, const std::string& path,
                        const MovedBack& movedBack);

// Whether an undo found nothing left to do: every change of its journal
// undone already, nothing refused.
bool NothingToUndo(const UndoOutcome& outcome);

}  // namespace tessaly
