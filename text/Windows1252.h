#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// Appends `bytes`, taken one byte per character in Windows-1252, to `out` as
// UTF-8. Every byte maps to exactly one character: the five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1
// controls of the same number, and NUL stays NUL.
void AppendWindows1252AsUtf8(std::string& out, std::string_view bytes);

std::string Windows1252ToUtf8(std::string_view bytes);

// The number of characters in a UTF-8 string.
std::size_t Utf8Length(std::string_view text);

}  // namespace tessaly
