#include "engine/RunPreview.h"

#include "platform/OverlayFileSystem.h"

namespace tessaly {

PreviewOutcome PreviewRenameRun(FileSystem& fileSystem, FrontEnd& frontEnd,
                                const std::string& directory, RenameListPlace place,
                                const ListLineSink& listLine) {
  const std::string journals = place.journalDirectory;
  OverlayFileSystem preview(fileSystem, [&](const std::string& path, std::string_view text) {
    if (!journals.empty() && path.starts_with(journals)) return;
    if (text.ends_with("\r\n")) text.remove_suffix(2);
    if (listLine) listLine(text);
  });
  place.journalUse = JournalUse::CheckOnly;
  RenameRun run(preview, frontEnd);
  PreviewOutcome outcome{run.StartRun(directory, place), 0};
  outcome.handled = run.RenameCount();
  return outcome;
}

UndoOutcome PreviewUndo(FileSystem& fileSystem, FrontEnd& frontEnd, const std::string& path,
                        const MovedBack& movedBack) {
  OverlayFileSystem preview(fileSystem);
  return UndoJournal(preview, frontEnd, path, movedBack);
}

bool NothingToUndo(const UndoOutcome& outcome) {
  return outcome.movedBack == 0 && outcome.directoriesRemoved == 0 && outcome.refused == 0;
}

}  // namespace tessaly
