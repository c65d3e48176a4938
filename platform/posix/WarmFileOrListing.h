#pragma once

#include <string>
#include <vector>

namespace tessaly {

// Warms into the page cache the start of the file at `path` (asked of the
// device and waited for), or the listing of the directory there: looked at
// without following a link before it is opened, so that a FIFO, a device or
// a link is never opened; anything else is left alone. For a directory,
// `next` gets its first few files named like pictures, which a walk will
// read first. True unless a file's start was not in memory.
bool WarmFileOrListing(const std::string& path, std::vector<std::string>& next);

}  // namespace tessaly
