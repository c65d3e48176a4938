#include "tests/support/TempTree.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tessaly::test {

TempTree::TempTree() {
  std::string pattern = (fs::temp_directory_path() / "tessaly-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern + "/";
}

TempTree::~TempTree() {
  // Permissions a test took away are given back first.
  std::string command = "chmod -R u+rwx '" + root_ + "' 2>/dev/null; rm -rf '" + root_ + "'";
  [[maybe_unused]] int status = std::system(command.c_str());
}

void TempTree::Write(std::string_view relative, std::string_view bytes) {
  fs::path path = PathOf(relative);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

void TempTree::MakeDirectory(std::string_view relative) {
  fs::create_directories(PathOf(relative));
}

bool TempTree::IsFile(std::string_view relative) const {
  std::error_code error;
  return fs::is_regular_file(fs::symlink_status(PathOf(relative), error));
}

std::string TempTree::Read(std::string_view relative) const {
  std::ostringstream content;
  content << std::ifstream(PathOf(relative), std::ios::binary).rdbuf();
  return content.str();
}

std::map<std::string, std::string> TempTree::Files() const {
  std::map<std::string, std::string> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(root_, error)) {
    if (entry.is_regular_file(error) && !entry.is_symlink(error)) {
      std::string relative = entry.path().string().substr(root_.size());
      files[relative] = Read(relative);
    }
  }
  return files;
}

}  // namespace tessaly::test
