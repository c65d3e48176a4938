#pragma once

#include <string>
#include <string_view>

#include "core/PictureInfo.h"

namespace tessaly {

// The new name of one picture, in UTF-8.
struct NewNameParts {
  std::string newName;   // [maker-][model-]YYYY-MM-DD-HHMMSS.JPG; empty without a date
  std::string datePart;  // YYYY-MM-DD, the name of the date sub-directory; empty without a date
};

// Composes the new name from an accepted header. The separators of the date
// string are skipped whatever they hold; nothing is trimmed or filtered. A
// picture without a date gets no name.
NewNameParts BuildNewName(const PictureInfo& info);

// Why a new name cannot be used to rename the picture.
enum class NameProblem {
  None,
  NoDate,              // the header has no date
  TooShort,            // 10 characters or fewer
  LeadingZero,         // it begins with "0"
  NulInDate,           // the date or time holds a NUL byte
  PathSeparator,       // "/" or "\" would put the picture elsewhere
  ControlCharacter,    // a line break or other control character (0x01-0x1F, 0x7F)
  ForbiddenCharacter,  // on Windows, one of < > : " | ? *, which no file name may hold
};

NameProblem CheckNewName(const PictureInfo& info, std::string_view newName);

inline bool IsUsableName(const PictureInfo& info, std::string_view newName) {
  return CheckNewName(info, newName) == NameProblem::None;
}

}  // namespace tessaly
