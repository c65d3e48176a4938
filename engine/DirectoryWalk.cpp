#include "engine/DirectoryWalk.h"
#include "core/Path.h"
#include "platform/ReadAhead.h"
#include "text/AsciiCase.h"

#include <deque>
#include <vector>

namespace tessaly {
namespace {

// How many pictures the walk lists ahead of the one it hands over, for the
// read-ahead to warm (which keeps as many waiting).
constexpr std::size_t kListedAhead = 64;

}  // namespace

void DirectoryWalk::ProcessDirectory(const std::string& directory) {
  if (state_.stopRequested) return;
  state_.walkedDirectory = directory;
  state_.frontEnd.ShowDirectory(directory);
  state_.HandOver();
  if (state_.stopRequested) return;

  // A directory that cannot be listed is reported once, by the file pass.
  bool listed = FilePass(directory);
  state_.suffixes.Clear();
  if (!listed || state_.stopRequested) return;

  std::vector<std::string> subDirectories;
  if (!SubDirectoryPass(directory, subDirectories)) return;
  for (std::size_t i = 0; i < subDirectories.size(); ++i) {
    if (state_.stopRequested) return;
    // The next listing is read ahead while this directory is walked.
    if (state_.readAhead && i + 1 < subDirectories.size()) {
      state_.readAhead->Hint(subDirectories[i + 1]);
    }
    ProcessDirectory(subDirectories[i] + kPathSeparator);
  }
}

bool DirectoryWalk::FilePass(const std::string& directory) {
  FsResult<std::unique_ptr<DirectoryCursor>> cursor = state_.fileSystem.OpenDirectory(directory);
  if (!cursor.ok()) {
    state_.Report(ProblemKind::DirectoryUnreadable, directory,
                  "cannot list the directory: " + cursor.error().message());
    return false;
  }
  // The listing is read a little ahead of the pictures handed over, so that
  // the read-ahead can warm the next headers; the pictures still go one by
  // one in the listing's order, and a listing error comes where it happened.
  std::deque<DirectoryEntry> listed;
  std::error_code listingError;
  bool listingEnded = false;
  std::string path;
  const std::size_t ahead = state_.readAhead ? kListedAhead : 1;
  for (;;) {
    while (!listingEnded && listed.size() < ahead) {
      DirectoryEntry entry;
      FsResult<bool> next = cursor.value()->Next(entry);
      listingEnded = !next.ok() || !next.value();
      listingError = next.error();
      if (listingEnded) break;
      if (!IsPictureName(entry.name)) continue;
      if (state_.readAhead && entry.type == EntryType::Regular) {
        state_.readAhead->Hint(directory, entry.name);
      }
      listed.push_back(std::move(entry));
    }
    if (listed.empty()) {
      if (!listingError) return true;
      state_.Report(ProblemKind::DirectoryUnreadable, directory,
                    "listing the directory failed: " + listingError.message());
      return false;
    }
    DirectoryEntry entry = std::move(listed.front());
    listed.pop_front();
    path.assign(directory).append(entry.name);
    switch (entry.type) {
      case EntryType::Regular:
        step_.RenamePicture(path);
        if (state_.stopRequested) return true;
        break;
      case EntryType::Directory:
        break;  // met in the sub-directory pass
      case EntryType::Unknown:
        state_.Report(ProblemKind::EntryUnreadable, path,
                      "cannot read what this is: " + entry.typeError.message());
        break;
      case EntryType::Symlink:
        state_.Report(ProblemKind::NotRegularFile, path,
                      "a symbolic link, not a picture file; passed over");
        break;
      case EntryType::Other:
        state_.Report(ProblemKind::NotRegularFile, path,
                      "not a regular file (a FIFO, socket or device); passed over");
        break;
    }
  }
}

bool DirectoryWalk::SubDirectoryPass(const std::string& directory,
                                     std::vector<std::string>& subDirectories) {
  FsResult<std::unique_ptr<DirectoryCursor>> cursor = state_.fileSystem.OpenDirectory(directory);
  if (!cursor.ok()) {
    state_.Report(ProblemKind::DirectoryUnreadable, directory,
                  "cannot list the directory: " + cursor.error().message());
    return false;
  }
  DirectoryEntry entry;
  for (;;) {
    FsResult<bool> next = cursor.value()->Next(entry);
    if (!next.ok()) {
      state_.Report(ProblemKind::DirectoryUnreadable, directory,
                    "listing the directory failed: " + next.error().message());
      return true;  // walk what was found
    }
    if (!next.value()) return true;
    if (entry.name.empty() || entry.name[0] == '.') continue;  // ".", ".." and hidden ones
    if (entry.hidden && entry.type == EntryType::Directory) continue;
    // Files were met in the file pass.
    if (entry.type == EntryType::Regular || entry.type == EntryType::Other) continue;
    std::string path = directory + entry.name;
    switch (entry.type) {
      case EntryType::Directory:
        subDirectories.push_back(std::move(path));
        break;
      case EntryType::Symlink: {
        FsResult<PathStatus> target = state_.fileSystem.StatusOf(path, SymbolicLinks::Follow);
        if (target.ok() && target->type == EntryType::Directory) {
          state_.Report(ProblemKind::LinkNotFollowed, path,
                        "a symbolic link to a directory; not entered");
        }
        break;
      }
      case EntryType::Unknown:
        if (!IsPictureName(entry.name)) {  // a picture name was reported by the file pass
          state_.Report(ProblemKind::EntryUnreadable, path,
                        "cannot read what this is: " + entry.typeError.message());
        }
        break;
      case EntryType::Regular:
      case EntryType::Other:
        break;
    }
  }
}

}  // namespace tessaly
