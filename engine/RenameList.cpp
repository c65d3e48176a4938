#include "engine/RenameList.h"

#include "platform/ProgramLocation.h"

namespace tessaly {
namespace {

std::string Join(const std::string& directory, std::string_view name) {
  std::string path = directory;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

}  // namespace

std::error_code RenameList::Create(const std::string& path) {
  path_ = path;
  return file_.Create(path);
}

std::error_code RenameList::AppendRenameLine(std::string_view picturePath,
                                             std::string_view renameTarget) {
  line_.assign(picturePath);
  line_ += "--->";
  line_ += renameTarget;
  line_ += "\r\n";
  return file_.Write(line_);
}

std::error_code RenameList::Close() {
  return file_.Close();
}

std::error_code CreateDefaultRenameList(RenameList& list, const std::string& programDirectory,
                                        const std::string& stateDirectory, std::string& why) {
  why.clear();
  std::error_code error = std::make_error_code(std::errc::no_such_file_or_directory);
  if (!programDirectory.empty()) {
    std::string path = Join(programDirectory, kRenameListName);
    error = list.Create(path);
    if (!error) return {};
    why = path + ": " + error.message();
  }
  if (!stateDirectory.empty()) {
    std::string path = Join(stateDirectory, kRenameListName);
    if (!CreateDirectories(stateDirectory)) {
      error = std::make_error_code(std::errc::permission_denied);
    } else {
      error = list.Create(path);
      if (!error) {
        why.clear();
        return {};
      }
    }
    if (!why.empty()) why += "; ";
    why += path + ": " + error.message();
  }
  if (why.empty()) why = "no directory for the rename list";
  return error;
}

}  // namespace tessaly
