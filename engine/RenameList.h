#pragma once

#include <string>
#include <string_view>
#include <system_error>

#include "platform/TextFile.h"

namespace tessaly {

// The file name of the rename list.
inline constexpr std::string_view kRenameListName = "Rename_List.TXT";

// The rename list of one run: one line per handled picture,
// "<old path>---><new path>" ended by CR LF, the paths' own bytes. Each line
// reaches the file as it is appended.
class RenameList {
 public:
  // Creates the list at `path`, emptying an existing one.
  std::error_code Create(const std::string& path);
  std::error_code AppendRenameLine(std::string_view picturePath, std::string_view renameTarget);
  std::error_code Close();
  const std::string& Path() const { return path_; }

 private:
  TextFile file_;
  std::string path_;
  std::string line_;
};

// Where the rename list goes when the user names no place: the program's own
// directory, else the user's state directory (created when missing).
// Creates the list there and returns the path; on failure the error and the
// places tried are in `why`.
std::error_code CreateDefaultRenameList(RenameList& list, const std::string& programDirectory,
                                        const std::string& stateDirectory, std::string& why);

}  // namespace tessaly
