#pragma once

#include <optional>
#include <string>

#include "engine/RunState.h"

namespace tessaly {

// Everything that happens to one file that the walk hands over as a picture:
// the header is read and the new name shown; a usable name is made free in
// the picture's own directory (suffixes "-1", "-2" ..., a file of the
// picture's length counting as the picture); the picture is listed,
// renamed, counted, and moved on into its date sub-directory when that
// option is set.
//
// Nothing is ever replaced without the front end's yes, and a picture moves
// only into a real directory, never through a link. The list's line is
// written before the rename and taken back when the rename fails or is
// declined; such a picture stays as it was, uncounted, and is reported. A
// list that cannot be written stops the run before the rename. A failed move
// into the date sub-directory is reported and leaves the picture renamed in
// its own directory, as its line says. Every change on disk (rename, move,
// directory made) is written ahead to the run's journal, when it keeps one.
class RenameStep {
 public:
  explicit RenameStep(RunState& state) : state_(state) {}

  // `picturePath` is the walked directory followed by the file's name.
  void RenamePicture(const std::string& picturePath);

  // The first suffix that is never tried: the search gives up when it would
  // get there.
  static constexpr int kSuffixLimit = 32767;

 private:
  // The search's result: the free candidate, or the one that holds a file of
  // the picture's length (the picture itself among them).
  struct FreeName {
    std::string candidate;
    bool sameLength = false;
    bool samePicture = false;  // the candidate is the picture itself (another link to it)
  };
  // What became of a move.
  enum class MoveOutcome {
    Moved,
    Declined,     // the user kept the file at the target
    SamePicture,  // the target is the picture itself: nothing to move, nothing recorded
    Failed,
  };
  // Finds the candidate in `directory` (ending in "/"): the first one that
  // is free, or, with the same-length rule, holds a regular file of the
  // picture's length. Anything at a name, a directory too, takes it. Empty
  // when no suffix below the limit is free.
  std::optional<FreeName> FindFreeName(const std::string& directory, const std::string& newName,
                                       const std::string& picturePath, bool sameLengthRule);
  // Moves without replacing, unless the front end, when asked, says yes to
  // replacing; without askToReplace a taken `to` fails with
  // errc::file_exists. A `to` that is the picture itself is never asked
  // about. The journal's record is written ahead and taken back when the
  // move does not happen. A journal that cannot be written stops the run,
  // and no move is made.
  std::error_code Move(const std::string& from, const std::string& to, JournalRecord::Kind kind,
                       MoveOutcome& outcome, bool askToReplace = true);
  // Whether `status` is the picture being handled, under another name.
  bool IsThePicture(const PathStatus& status) const;
  // Write the picture's list line ahead of its rename, and take it back;
  // false, with the problem reported and the run stopped, when the list
  // cannot be written.
  bool WriteRenameLine(const std::string& picturePath, const std::string& renameTarget);
  bool TakeBackRenameLine(const std::string& picturePath);
  // Both report a journal that cannot be written and stop the run.
  std::error_code WriteAhead(const JournalRecord& record);
  std::error_code TakeBackRecord(const std::string& path);
  void MoveIntoDateDirectory(const std::string& renameTarget, const std::string& newName,
                             const std::string& datePart);

  RunState& state_;
  std::optional<PathStatus> pictureStatus_;  // of the picture being handled
  std::uint64_t pictureStartHash_ = 0;       // of the picture being handled
};

}  // namespace tessaly
