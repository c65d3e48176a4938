#pragma once

#include <string_view>

namespace tessaly {

// Names compared with the ASCII letters in either case and every other byte
// as it is, whatever the locale.
bool ContainsIgnoringCase(std::string_view text, std::string_view part);

// Whether `name` ends in "JPG" in any letter case: a picture's name to the
// walk.
bool IsPictureName(std::string_view name);

}  // namespace tessaly
