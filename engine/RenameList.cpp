#include "engine/RenameList.h"

#include <array>

#include "core/Path.h"
#include "engine/MakeDirectories.h"

namespace tessaly {
namespace {

std::string Join(const std::string& directory, std::string_view name) {
  return WithFinalSeparator(directory) + std::string(name);
}

// Whether the file holds nothing but rename-list lines, maybe followed by
// NUL bytes: the room a list written through a mapping had reserved when a
// kill ended its run. A line ends in CR LF; a LF alone belongs to a path.
FsResult<bool> ReadsAsRenameList(AppendFile& file) {
  std::array<char, 65536> block;
  bool inLine = false;  // bytes since the last CR LF
  bool arrow = false;   // the line so far holds "--->"
  int dashes = 0;
  char previous = '\n';
  bool reserved = false;  // in the NUL bytes after the last line
  for (std::uint64_t offset = 0;;) {
    FsResult<std::size_t> n = file.ReadAt(offset, block);
    if (!n.ok()) return n.error();
    if (n.value() == 0) return !inLine || reserved;
    offset += n.value();
    for (char c : std::string_view(block.data(), n.value())) {
      if (reserved) {
        if (c != '\0') return false;
        continue;
      }
      if (c == '\0' && !inLine) {
        reserved = true;
        continue;
      }
      if (c == '\n' && previous == '\r' && inLine) {
        if (!arrow) return false;
        inLine = arrow = false;
        dashes = 0;
        previous = c;
        continue;
      }
      inLine = true;
      arrow = arrow || (c == '>' && dashes >= 3);
      dashes = c == '-' ? dashes + 1 : 0;
      previous = c;
    }
  }
}

bool IsRefusal(std::error_code error) {
  return error.category() == FsErrorCategory();
}

}  // namespace

std::error_code RenameList::Open(FileSystem& fileSystem, const std::string& path) {
  path_ = path;
  // Mapped: a line costs no system call. Closed, the list is exact; after a
  // kill it ends in NUL bytes, which the next run's check above allows.
  FsResult<std::unique_ptr<AppendFile>> file = fileSystem.OpenAppendFile(path, AppendMode::Mapped);
  if (!file.ok()) return file.error();
  FsResult<bool> ours = ReadsAsRenameList(*file.value());
  if (!ours.ok()) return ours.error();
  if (!ours.value()) return make_error_code(FsError::ForeignContent);
  if (std::error_code error = file.value()->Truncate(0)) return error;
  file_ = std::move(file.value());
  return {};
}

std::string RenameListLine(std::string_view picturePath, std::string_view renameTarget) {
  std::string line(picturePath);
  line += "--->";
  line += renameTarget;
  line += "\r\n";
  return line;
}

std::error_code RenameList::Close() {
  return file_ ? file_->Close() : std::error_code{};
}

std::error_code OpenDefaultRenameList(RenameList& list, FileSystem& fileSystem,
                                      const std::string& programDirectory,
                                      const std::string& stateDirectory, std::string& why) {
  why.clear();
  std::error_code error = std::make_error_code(std::errc::no_such_file_or_directory);
  if (!programDirectory.empty()) {
    std::string path = Join(programDirectory, kRenameListName);
    error = list.Open(fileSystem, path);
    if (!error) return {};
    why = path + ": " + error.message();
    if (IsRefusal(error)) return error;
  }
  if (!stateDirectory.empty()) {
    std::string path = Join(stateDirectory, kRenameListName);
    error = MakeDirectories(fileSystem, stateDirectory);
    if (!error) error = list.Open(fileSystem, path);
    if (!error) {
      why.clear();
      return {};
    }
    if (!why.empty()) why += "; ";
    why += path + ": " + error.message();
  }
  if (why.empty()) why = "no directory for the rename list";
  return error;
}

}  // namespace tessaly
