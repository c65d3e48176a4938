#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tessaly {

// The stem and the suffix number of a name of the form STEM-k.JPG (k from 1,
// written without leading zeros); nothing for any other name.
std::optional<std::pair<std::string_view, int>> SplitSuffix(std::string_view name);

// What the clash searches of one run have learnt about the names of a stem
// in a directory (STEM.JPG, STEM-1.JPG, ...), so that a burst of pictures
// taken in one second costs a few look-ups each rather than one per earlier
// picture, with the very results a search from the bare name would give.
class SuffixMemory {
 public:
  struct Known {
    int taken = 0;  // candidates 0 (the bare name) to taken - 1 were found taken
    std::map<std::uint64_t, int> firstOfLength;  // among them, the first regular file of a length
  };

  // What is known of `stem` in `directory` (ending in "/"): Find answers
  // null where nothing is, For makes an empty record there.
  Known* Find(const std::string& directory, std::string_view stem);
  Known& For(const std::string& directory, std::string_view stem);
  // Forgets everything, as a directory's pictures are done: the memory
  // never grows beyond the clashes of one directory.
  void Clear() { known_.clear(); }
  // A file named `name` left `directory`: what was known from its candidate
  // on is forgotten.
  void Freed(const std::string& directory, std::string_view name);

 private:
  void Forget(const std::string& directory, std::string_view stem, int from);

  std::map<std::string, Known, std::less<>> known_;  // directory, NUL, stem
};

}  // namespace tessaly
