#pragma once

namespace tessaly {

// The three check boxes of the window. Each counts as set only when ticked.
struct RenameOptions {
  bool dateDirectories = true;  // move each picture into a sub-directory named after its date
  bool makerPrefix = false;     // put the maker's name in front of the new name
  bool modelPrefix = false;     // put the model's name in front of the new name
};

}  // namespace tessaly
