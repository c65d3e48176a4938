#pragma once

#include <optional>
#include <string>

#include "engine/RunState.h"

namespace tessaly {

// Everything that happens to one file that the walk hands over as a picture:
// the header is read and the new name shown; a usable name is made free in
// the picture's own directory (suffixes "-1", "-2" ..., a file of the
// picture's length counting as the picture); the picture is renamed, counted,
// listed, and moved on into its date sub-directory when that option is set.
//
// Nothing is ever replaced without the front end's yes. A rename that fails
// or is declined leaves the picture as it was, uncounted and unlisted, and is
// reported; a failed move into the date sub-directory is reported and leaves
// the picture renamed in its own directory, as its line says.
class RenameStep {
 public:
  explicit RenameStep(RunState& state) : state_(state) {}

  // `picturePath` is the walked directory followed by the file's name.
  void RenamePicture(const std::string& picturePath);

  // The first suffix that is never tried: the search gives up when it would
  // get there.
  static constexpr int kSuffixLimit = 32767;

 private:
  // Finds the free candidate in `directory` (ending in "/"). With a picture
  // length the search ends on a file of that length. Empty when no suffix
  // below the limit is free.
  std::optional<std::string> FindFreeName(const std::string& directory, const std::string& newName,
                                          const std::string& picturePath, bool sameSizeRule,
                                          bool& sameSize);
  // Moves without replacing, unless the front end says yes to replacing.
  std::error_code Move(const std::string& from, const std::string& to, bool& declined);
  void MoveIntoDateDirectory(const std::string& renameTarget, const std::string& newName,
                             const std::string& datePart);

  RunState& state_;
};

}  // namespace tessaly
