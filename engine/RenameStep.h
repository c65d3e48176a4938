#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "core/BuildNewName.h"
#include "engine/RunState.h"
#include "engine/WriteAheadFile.h"

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
  // Whether a candidate that holds a regular file of the picture's length
  // is taken for the picture's own copy, and so found.
  enum class SameLength { CountsAsFound, CountsAsTaken };
  // What a move does when a file is at its target.
  enum class IfTaken { GiveUp, AskToReplace };
  // What became of a move.
  enum class MoveOutcome {
    Moved,
    Taken,        // a file is at the target and the move gave up (IfTaken::GiveUp)
    Declined,     // the user kept the file at the target
    SamePicture,  // the target is the picture itself: nothing to move, nothing recorded
    Failed,       // `error` says why
  };
  struct MoveResult {
    MoveOutcome outcome;
    std::error_code error;
  };

  // Reads the header and shows the picture; its new name when one can be
  // used, else nothing (the reason reported where there is one).
  std::optional<NewNameParts> ReadAndShow(const std::string& picturePath);
  // Gives the picture its new name in its own directory, listed; where it
  // is now, or nothing when it stays as it was (reported).
  std::optional<std::string> ClaimName(const std::string& picturePath, const std::string& newName);
  std::optional<std::string> ClaimAfterClash(const std::string& picturePath,
                                             const std::string& newName);
  // Counts the renamed picture, then moves it into its date sub-directory.
  void Commit(const std::string& picturePath, const std::string& renameTarget,
              const NewNameParts& name);
  // Finds the candidate in `directory` (ending in "/"): the first one that
  // is free, or, with SameLength::CountsAsFound, holds a regular file of
  // the picture's length. Anything at a name, a directory too, takes it.
  // Empty when no suffix below the limit is free.
  std::optional<FreeName> FindFreeName(const std::string& directory, const std::string& newName,
                                       const std::string& picturePath, SameLength sameLength);
  // Moves without replacing, unless the front end, when asked, says yes to
  // replacing. A `to` that is the picture itself is never asked about. The
  // journal's record is written ahead and taken back when the move does not
  // happen. A journal that cannot be written stops the run, and no move is
  // made.
  MoveResult Move(const std::string& from, const std::string& to, JournalRecord::Kind kind,
                  IfTaken ifTaken);
  // Whether `status` is the picture being handled, under another name.
  bool IsThePicture(const PathStatus& status) const;
  // Write `line` to the list or the journal ahead of the change that `act`
  // names ("renaming P"), and take back the line of `path`, whose change did
  // not happen. A file that cannot be written is reported and stops the run.
  std::error_code WriteAhead(WriteAheadFile& file, std::string_view line, const std::string& act);
  std::error_code ListAhead(const std::string& picturePath, const std::string& renameTarget);
  std::error_code TakeBack(WriteAheadFile& file, const std::string& path);
  void Stop(const WriteAheadFile& file, std::string why);
  void MoveIntoDateDirectory(const std::string& renameTarget, const std::string& newName,
                             const std::string& datePart);

  RunState& state_;
  std::optional<PathStatus> pictureStatus_;  // of the picture being handled
  std::uint64_t pictureStartHash_ = 0;       // of the picture being handled
};

}  // namespace tessaly
