#pragma once

#include <string>
#include <string_view>

#include "core/PictureInfo.h"

namespace tessaly {

// The new name of one picture, in UTF-8.
struct NewNameParts {
  std::string NewName;   // [maker-][model-]YYYY-MM-DD-HHMMSS.JPG; empty without a date
  std::string DatePart;  // YYYY-MM-DD, the name of the date sub-directory; empty without a date
};

// Composes the new name from an accepted header. The separators of the date
// string are skipped whatever they hold; nothing is trimmed or filtered. A
// picture without a date gets no name.
NewNameParts BuildNewName(const PictureInfo& info);

// The present file name: the part of `path` after its last separator.
std::string_view PictureFileName(std::string_view path);

// Whether the new name can be used to rename the picture: it has more than
// 10 characters and does not begin with "0", the date and time hold no NUL,
// and the name holds no "/" or "\" (which would put the picture elsewhere).
bool IsUsableName(const PictureInfo& info, std::string_view newName);

}  // namespace tessaly
