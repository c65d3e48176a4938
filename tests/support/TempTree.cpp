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
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(
           root_, fs::directory_options::skip_permission_denied, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_directory(error) && !it->is_symlink(error)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
  }
  // Directories made unreadable are not listed above; open them up one level
  // at a time until removal succeeds.
  for (int attempt = 0; attempt < 8; ++attempt) {
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, error);
    for (const auto& entry : fs::recursive_directory_iterator(
             root_, fs::directory_options::skip_permission_denied, error)) {
      if (entry.is_directory(error) && !entry.is_symlink(error)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
      }
    }
    fs::remove_all(root_, error);
    if (!error) break;
  }
}

void TempTree::Write(std::string_view relative, std::string_view bytes) {
  fs::path path = PathOf(relative);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void TempTree::Write(std::string_view relative, const std::vector<std::uint8_t>& bytes) {
  Write(relative, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TempTree::MakeDirectory(std::string_view relative) {
  fs::create_directories(PathOf(relative));
}

bool TempTree::IsFile(std::string_view relative) const {
  std::error_code error;
  return fs::is_regular_file(fs::symlink_status(PathOf(relative), error));
}

bool TempTree::IsDirectory(std::string_view relative) const {
  std::error_code error;
  return fs::is_directory(fs::symlink_status(PathOf(relative), error));
}

std::string TempTree::Read(std::string_view relative) const {
  std::ifstream in(PathOf(relative), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::map<std::string, std::string> TempTree::Files() const {
  std::map<std::string, std::string> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(
           root_, fs::directory_options::skip_permission_denied, error)) {
    if (entry.is_regular_file(error) && !entry.is_symlink(error)) {
      std::string relative = entry.path().string().substr(root_.size());
      files[relative] = Read(relative);
    }
  }
  return files;
}

}  // namespace tessaly::test
