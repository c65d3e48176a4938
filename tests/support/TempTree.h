#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::test {

// A directory tree of its own under the system's temporary directory, made
// for one test and removed with everything in it afterwards.
class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& Root() const { return root_; }  // ends in "/"
  std::string PathOf(std::string_view relative) const { return root_ + std::string(relative); }
  // Writes a file, making its parent directories.
  void Write(std::string_view relative, std::string_view bytes);
  void Write(std::string_view relative, const std::vector<std::uint8_t>& bytes) {
    Write(relative, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  void MakeDirectory(std::string_view relative);
  bool IsFile(std::string_view relative) const;
  std::string Read(std::string_view relative) const;
  // Every regular file below the root, links not followed: path to content.
  std::map<std::string, std::string> Files() const;

 private:
  std::string root_;
};

}  // namespace tessaly::test
