#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/RenameStep.h"
#include "engine/RunState.h"

namespace tessaly {

// Walks one directory and, depth first, every directory below it: first all
// its pictures (regular files whose names end in "JPG" in any letter case),
// in the order the file system lists them, then its sub-directories, each
// completely, in the order they were listed. Date sub-directories made during
// the file pass are walked in the same run.
//
// Hidden pictures are handled; hidden directories (names beginning with ".")
// and symbolic links are not entered. A directory that cannot be listed, an
// entry whose type cannot be read, and a picture name on something other
// than a regular file are reported and passed over; the walk goes on.
class DirectoryWalk {
 public:
  explicit DirectoryWalk(RunState& state) : state_(state), step_(state) {}

  // `directory` ends in "/".
  void ProcessDirectory(const std::string& directory);

 private:
  // False when the directory could not be listed (which is reported).
  bool FilePass(const std::string& directory);
  bool SubDirectoryPass(const std::string& directory, std::vector<std::string>& subDirectories);

  RunState& state_;
  RenameStep step_;
};

}  // namespace tessaly
