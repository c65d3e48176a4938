#pragma once

#include <string>

namespace tessaly {

// The directory that holds the running executable, without a final
// separator; empty when it cannot be found.
std::string ExecutableDirectory();

// The user's directory for state that programs keep between runs:
// $XDG_STATE_HOME/tessaly, else ~/.local/state/tessaly; on Windows
// %LOCALAPPDATA%\Tessaly (without a final separator). Not created here;
// empty when no such variable is usable.
std::string UserStateDirectory();

}  // namespace tessaly
