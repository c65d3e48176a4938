#pragma once

#include <string>
#include <vector>

#include "engine/FrontEnd.h"
#include "ui/CaptionTable.h"

namespace tessaly {

// The problems of a run or an undo by what became of the file (not renamed;
// renamed but not moved into its date directory; not read; not moved back;
// moved back, what it had replaced lost): each group's heading
// with its count, then one "    path: reason" line for each of its
// problems. Empty groups are left out.
std::string ProblemListText(const std::vector<Problem>& problems, CaptionLanguage language);

}  // namespace tessaly
