#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// `text` made safe to show on a terminal, as coreutils show file names: valid
// UTF-8 stays as it is, a backslash is doubled (but on Windows, where it is
// the separator and no name can hold one), and control characters (C1
// ones too) and bytes that are not UTF-8 are written as escapes ("\n", "\t",
// "\r", "\x1b", "\xff"), so that no name can move the cursor, set the title
// or clear the screen.
std::string TerminalText(std::string_view text);

}  // namespace tessaly
