#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::test {

// A directory tree of its own under the system's temporary directory, made
// for one test and removed afterwards (permissions taken away by the test
// are given back first).
class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The tree's root, ending in "/".
  const std::string& Root() const { return root_; }
  std::string PathOf(std::string_view relative) const { return root_ + std::string(relative); }

  // Writes a file, making its parent directories.
  void Write(std::string_view relative, std::string_view bytes);
  void Write(std::string_view relative, const std::vector<std::uint8_t>& bytes);
  void MakeDirectory(std::string_view relative);
  bool IsFile(std::string_view relative) const;
  bool IsDirectory(std::string_view relative) const;
  std::string Read(std::string_view relative) const;

  // Every regular file below the root (links not followed): relative path
  // to content.
  std::map<std::string, std::string> Files() const;

 private:
  std::string root_;
};

}  // namespace tessaly::test
