#pragma once

#include <system_error>

namespace tessaly {

// A Windows error as the program reports it: as the standard condition it
// stands for where there is one (a missing file is errc::no_such_file_or_
// directory, with the same words as on Linux); a file that another program
// holds open without sharing it is FsError::HeldByAnotherProgram; any other
// keeps its Windows code and Windows' own words.
std::error_code WindowsError(unsigned long code);

// The calling thread's last Windows error, as above.
std::error_code LastWindowsError();

}  // namespace tessaly
