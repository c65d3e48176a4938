#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::test {

// A directory tree of its own under the system's temporary directory, made
// for one test and removed with everything in it afterwards.
class TempTree {
 public:
  TempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessaly-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern + "/";
  }
  ~TempTree() {  // permissions a test took away are given back first
    std::string command = "chmod -R u+rwx '" + root_ + "' 2>/dev/null; rm -rf '" + root_ + "'";
    [[maybe_unused]] int status = std::system(command.c_str());
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& Root() const { return root_; }  // ends in "/"
  std::string PathOf(std::string_view relative) const { return root_ + std::string(relative); }
  // Writes a file, making its parent directories.
  void Write(std::string_view relative, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(PathOf(relative)).parent_path());
    std::ofstream out(PathOf(relative), std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
      throw std::runtime_error("cannot write " + PathOf(relative));
    }
  }
  void Write(std::string_view relative, const std::vector<std::uint8_t>& bytes) {
    Write(relative, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  void MakeDirectory(std::string_view relative) {
    std::filesystem::create_directories(PathOf(relative));
  }
  bool IsFile(std::string_view relative) const {
    std::error_code error;
    return std::filesystem::is_regular_file(
        std::filesystem::symlink_status(PathOf(relative), error));
  }
  std::string Read(std::string_view relative) const {
    std::ostringstream content;
    content << std::ifstream(PathOf(relative), std::ios::binary).rdbuf();
    return content.str();
  }
  // Every regular file below the root, links not followed: path to content.
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_, error)) {
      if (entry.is_regular_file(error) && !entry.is_symlink(error)) {
        files[entry.path().string().substr(root_.size())] =
            Read(entry.path().string().substr(root_.size()));
      }
    }
    return files;
  }

 private:
  std::string root_;
};

}  // namespace tessaly::test
