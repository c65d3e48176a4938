#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// What becomes of a byte that is not part of valid UTF-8.
enum class InvalidBytes {
  Replace,  // written as U+FFFD: the output reads as text, the byte is gone
  Escape,   // written as \udcXX (XX the byte), the surrogate escape that
            // Python's os.fsencode and os.fsdecode use: every path round-trips
};

// Appends `text` to `out` as a JSON string literal, quotes included. Control
// characters (NUL among them) are escaped as \uXXXX; the output is always
// valid UTF-8.
void AppendJsonString(std::string& out, std::string_view text,
                      InvalidBytes invalid = InvalidBytes::Replace);

// Reads the JSON string literal at the start of `text` and takes it off;
// \udcXX (XX from 80 to FF) gives back the byte XX. Empty, with `text` as it
// was, when `text` does not start with a whole literal.
std::optional<std::string> TakeJsonString(std::string_view& text);

}  // namespace tessaly
