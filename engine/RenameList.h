#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/WriteAheadFile.h"
#include "platform/FileSystem.h"

namespace tessaly {

// The file name of the rename list.
inline constexpr std::string_view kRenameListName = "Rename_List.TXT";

// The rename list of one run: one line per handled picture,
// "<old path>---><new path>" ended by CR LF, the paths' own bytes. A line is
// written ahead of the rename it names and taken back when that rename does
// not happen, so that every rename is in the list; after a kill, at most the
// last line names a rename that did not happen. A path that holds CR LF
// would end its line early: such a picture is never listed (the rename step
// passes it over).
class RenameList : public WriteAheadFile {
 public:
  RenameList()
      : WriteAheadFile(
            {"rename list", "line", "was not renamed", ProblemKind::RenameListWriteFailed}) {}

  // Opens the list at `path` for a new run and empties it. An existing file
  // is emptied only when it is empty or reads as a rename list (every line
  // holds "--->" and ends in CR LF; a LF alone is part of a path); anything
  // else fails with
  // FsError::ForeignContent and is left as it is. The list stays locked
  // until closed: another run that opens it fails with FsError::InUse.
  std::error_code Open(FileSystem& fileSystem, const std::string& path);
  std::error_code Close();
};

// The list's line of a picture renamed to `renameTarget`.
std::string RenameListLine(std::string_view picturePath, std::string_view renameTarget);

// Opens the list where the user named no place: in the program's own
// directory, else, when that cannot be written, in the user's state
// directory (made when missing). A list refused for what it is (a link, a
// file of another kind, one in use) is not passed over for the next place.
// On failure the places tried and their reasons are in `why`.
std::error_code OpenDefaultRenameList(RenameList& list, FileSystem& fileSystem,
                                      const std::string& programDirectory,
                                      const std::string& stateDirectory, std::string& why);

}  // namespace tessaly
