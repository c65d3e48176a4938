#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/Path.h"

namespace tessaly::test {

// The path of a UTF-8 name: on Windows the library's own paths are UTF-8,
// while the standard library reads narrow text in the ANSI code page.
inline std::filesystem::path NativePath(const std::string& utf8) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
  return utf8;
#endif
}
inline std::string Utf8Of(const std::filesystem::path& path) {
#ifdef _WIN32
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

// A directory tree of its own under the system's temporary directory, made
// for one test and removed with everything in it afterwards.
class TempTree {
 public:
  TempTree() {
    std::random_device random;
    for (int attempt = 0; root_.empty(); ++attempt) {
      std::filesystem::path path =
          std::filesystem::temp_directory_path() / ("tessaly-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(path)) {
        root_ = Utf8Of(path) + kPathSeparator;
      } else if (attempt == 100) {
        throw std::runtime_error("cannot make a temporary directory");
      }
    }
  }
  ~TempTree() {
#ifdef _WIN32
    std::error_code error;
    std::filesystem::remove_all(NativePath(root_), error);
#else  // permissions a test took away are given back first
    std::string command = "chmod -R u+rwx '" + root_ + "' 2>/dev/null; rm -rf '" + root_ + "'";
    [[maybe_unused]] int status = std::system(command.c_str());
#endif
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& Root() const {
    return root_;
  }  // ends in the separator
  // `relative` below the root, with "/" between names, as a path with the
  // system's separator.
  std::string PathOf(std::string_view relative) const {
    return root_ + NativePathText(std::string(relative));
  }
  // Writes a file, making its parent directories.
  void Write(std::string_view relative, std::string_view bytes) {
    std::filesystem::create_directories(NativePath(PathOf(relative)).parent_path());
    std::ofstream out(NativePath(PathOf(relative)), std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
      throw std::runtime_error("cannot write " + PathOf(relative));
    }
  }
  void Write(std::string_view relative, const std::vector<std::uint8_t>& bytes) {
    Write(relative, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  void MakeDirectory(std::string_view relative) {
    std::filesystem::create_directories(NativePath(PathOf(relative)));
  }
  bool IsFile(std::string_view relative) const {
    std::error_code error;
    return std::filesystem::is_regular_file(
        std::filesystem::symlink_status(NativePath(PathOf(relative)), error));
  }
  std::string Read(std::string_view relative) const {
    std::ostringstream content;
    content << std::ifstream(NativePath(PathOf(relative)), std::ios::binary).rdbuf();
    return content.str();
  }
  // Every regular file below the root, links not followed: its path from
  // the root, with "/" between names whatever the system's separator, in
  // order.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(NativePath(root_), error)) {
      if (entry.is_regular_file(error) && !entry.is_symlink(error))
        names.push_back(Slashed(Utf8Of(entry.path()).substr(root_.size())));
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // Each of Names() to its content.
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const std::string& name : Names())
      files[name] = Read(name);
    return files;
  }
  // The contents of Files(), wherever they stand: a run must keep these.
  std::multiset<std::string> Contents() const {
    std::multiset<std::string> contents;
    for (const auto& [path, content] : Files())
      contents.insert(content);
    return contents;
  }
  // `path` with "/" for the system's separator.
  static std::string Slashed(std::string path) {
    for (char& c : path) {
      if (c == kPathSeparator) c = '/';
    }
    return path;
  }

 private:
  std::string root_;
};

}  // namespace tessaly::test
