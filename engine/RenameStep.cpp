#include "engine/RenameStep.h"

#include <algorithm>
#include <cctype>

#include "core/BuildNewName.h"
#include "core/ReadPictureInfo.h"
#include "core/Windows1252.h"

namespace tessaly {
namespace {

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  auto it = std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
  return it != text.end();
}

}  // namespace

void RenameStep::RenamePicture(const std::string& picturePath) {
  if (picturePath.empty()) return;

  ReadResult read = ReadPictureInfo(state_.fileSystem, picturePath, state_.frontEnd);
  if (!read.ok()) {
    bool limit = read.failure != ReadFailure::CannotOpen && read.failure != ReadFailure::CannotRead;
    state_.Report(limit ? ProblemKind::HeaderLimit : ProblemKind::PictureUnreadable, picturePath,
                  read.Reason());
    return;
  }
  const PictureInfo& info = read.info;
  if (!info.HeaderAccepted) return;

  NewNameParts name = BuildNewName(info);
  state_.frontEnd.ShowPicture(ShownPicture{Windows1252ToUtf8(info.DateText),
                                           Windows1252ToUtf8(info.TimeText), name.NewName,
                                           std::string(PictureFileName(picturePath))});
  state_.HandOver();

  if (!IsUsableName(info, name.NewName)) return;

  const std::string directory = state_.walkedDirectory;
  bool sameSize = false;
  std::optional<std::string> candidate =
      FindFreeName(directory, name.NewName, picturePath, true, sameSize);
  if (!candidate) {
    state_.Report(ProblemKind::NoFreeName, picturePath,
                  "no free name: every suffix up to -32766 is taken");
    return;
  }
  const std::string renameTarget = directory + *candidate;

  if (renameTarget != picturePath) {
    bool declined = false;
    std::error_code error = Move(picturePath, renameTarget, declined);
    if (declined) {
      state_.Report(ProblemKind::RenameDeclined, picturePath,
                    "not renamed: kept the existing " + renameTarget);
      return;
    }
    if (error) {
      state_.Report(ProblemKind::RenameFailed, picturePath,
                    "cannot rename to " + renameTarget + ": " + error.message());
      return;
    }
  }

  ++state_.renameCount;
  if (std::error_code error = state_.renameList.AppendRenameLine(picturePath, renameTarget)) {
    state_.Report(ProblemKind::RenameListWriteFailed, state_.renameList.Path(),
                  "cannot write the rename list: " + error.message() + "; the run stops");
    state_.stopRequested = true;
  }

  if (state_.frontEnd.ReadOptions().DateDirectories &&
      !ContainsIgnoringCase(directory, name.DatePart)) {
    MoveIntoDateDirectory(renameTarget, name.NewName, name.DatePart);
  }

  state_.frontEnd.ShowCount(state_.renameCount);
  state_.HandOver();
}

std::optional<std::string> RenameStep::FindFreeName(const std::string& directory,
                                                    const std::string& newName,
                                                    const std::string& picturePath,
                                                    bool sameSizeRule, bool& sameSize) {
  const std::string stem = newName.substr(0, newName.size() - 4);
  std::string candidate = newName;
  std::optional<std::uint64_t> pictureLength;
  for (int suffix = 1;; ++suffix) {
    const std::string path = directory + candidate;
    FsResult<PathStatus> status = state_.fileSystem.StatusOf(path, false);
    if (!status.ok() || status->type == EntryType::Directory) return candidate;
    if (sameSizeRule) {
      if (path == picturePath) {
        sameSize = true;  // the picture itself
        return candidate;
      }
      if (!pictureLength) {
        FsResult<PathStatus> own = state_.fileSystem.StatusOf(picturePath, false);
        pictureLength = own.ok() ? own->size : UINT64_MAX;
      }
      if (status->size == *pictureLength) {
        sameSize = true;
        return candidate;
      }
    }
    if (suffix >= kSuffixLimit) return std::nullopt;
    candidate = stem + "-" + std::to_string(suffix) + ".JPG";
  }
}

std::error_code RenameStep::Move(const std::string& from, const std::string& to, bool& declined) {
  declined = false;
  std::error_code error = state_.fileSystem.MoveNoReplace(from, to);
  if (error != std::errc::file_exists) return error;
  if (state_.frontEnd.AskReplace(ReplaceQuestion{from, to}) == ReplaceAnswer::Keep) {
    declined = true;
    return error;
  }
  return state_.fileSystem.MoveReplacing(from, to);
}

void RenameStep::MoveIntoDateDirectory(const std::string& renameTarget, const std::string& newName,
                                       const std::string& datePart) {
  const std::string subDirectory = state_.walkedDirectory + datePart;
  bool unused = false;
  std::optional<std::string> candidate =
      FindFreeName(subDirectory + "/", newName, renameTarget, false, unused);
  if (!candidate) {
    state_.Report(ProblemKind::NoFreeName, renameTarget,
                  "not moved into " + subDirectory + ": every suffix up to -32766 is taken");
    return;
  }
  const std::string target = subDirectory + "/" + *candidate;
  bool declined = false;
  std::error_code error = Move(renameTarget, target, declined);
  if (error == std::errc::no_such_file_or_directory) {
    // The date sub-directory is made by the first picture that needs it.
    if (std::error_code made = state_.fileSystem.CreateDirectory(subDirectory)) {
      state_.Report(ProblemKind::SubDirectoryMoveFailed, renameTarget,
                    "cannot create " + subDirectory + ": " + made.message());
      return;
    }
    error = Move(renameTarget, target, declined);
  }
  if (declined) {
    state_.Report(ProblemKind::SubDirectoryMoveFailed, renameTarget,
                  "not moved: kept the existing " + target);
  } else if (error) {
    state_.Report(ProblemKind::SubDirectoryMoveFailed, renameTarget,
                  "cannot move to " + target + ": " + error.message());
  }
}

}  // namespace tessaly
