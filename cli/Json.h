#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// Appends `text` to `out` as a JSON string literal, quotes included. Control
// characters (NUL among them) are escaped as \uXXXX; a byte sequence that is
// not UTF-8 becomes U+FFFD, so that the output is always valid UTF-8.
void AppendJsonString(std::string& out, std::string_view text);

// The length of the valid UTF-8 sequence at the start of `text` (which is
// not empty), or 0 when it does not start with one.
std::size_t ValidUtf8Sequence(std::string_view text);

}  // namespace tessaly
