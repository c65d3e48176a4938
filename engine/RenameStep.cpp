#include "engine/RenameStep.h"

#include <algorithm>

#include "core/BuildNewName.h"
#include "core/Path.h"
#include "engine/ReadPictureFile.h"
#include "text/AsciiCase.h"
#include "text/Windows1252.h"

namespace tessaly {
namespace {

// Whether `name` is `newName` with a suffix: STEM-k.JPG.
bool IsSuffixedForm(std::string_view name, std::string_view newName) {
  auto split = SplitSuffix(name);
  return split && split->first == StemOf(newName);
}

std::string Candidate(const std::string& newName, const std::string& stem, int index) {
  return index == 0 ? newName : stem + "-" + std::to_string(index) + ".JPG";
}

}  // namespace

void RenameStep::RenamePicture(const std::string& picturePath) {
  if (picturePath.empty()) return;

  ReadResult read =
      ReadPictureInfo(state_.fileSystem, picturePath, state_.frontEnd, FileKinds::RegularOnly);
  if (!read.ok()) {
    bool limit = read.failure != ReadFailure::CannotOpen && read.failure != ReadFailure::CannotRead;
    state_.Report(limit ? ProblemKind::HeaderLimit : ProblemKind::PictureUnreadable, picturePath,
                  read.Reason());
    return;
  }
  const PictureInfo& info = read.info;
  if (!info.HeaderAccepted) return;
  // The picture's length and identity as it was read; a rename keeps them.
  pictureStatus_ = read.fileStatus;
  pictureStartHash_ = read.startHash;

  NewNameParts name = BuildNewName(info);
  state_.frontEnd.ShowPicture(ShownPicture{Windows1252ToUtf8(info.DateText),
                                           Windows1252ToUtf8(info.TimeText), name.NewName,
                                           std::string(FileNameOf(picturePath))});
  state_.HandOver();

  if (NameProblem problem = CheckNewName(info, name.NewName); problem != NameProblem::None) {
    if (problem == NameProblem::ControlCharacter) {
      state_.Report(ProblemKind::UnusableName, picturePath,
                    "the new name would hold a control character; left as it is");
    } else if (problem == NameProblem::ForbiddenCharacter) {
      state_.Report(ProblemKind::UnusableName, picturePath,
                    "the new name would hold one of < > : \" | ? *, which Windows does not allow "
                    "in a file name; left as it is");
    }
    return;
  }
  if (picturePath.find("\r\n") != std::string::npos) {
    state_.Report(ProblemKind::UnusableName, picturePath,
                  "the path holds a line break (CR LF), which would split its line in the rename "
                  "list; left as it is");
    return;
  }

  const std::string directory = state_.walkedDirectory;
  std::string renameTarget = directory + name.NewName;
  // Most new names are free: where no search has met this name taken, the
  // rename is made at once, never replacing, and only a name found taken is
  // looked into by the clash rules. The outcome is the search's: the first
  // candidate is the name itself.
  bool movedAtOnce = false;
  if (FileNameOf(picturePath) != name.NewName &&
      !state_.suffixes.Find(directory, StemOf(name.NewName))) {
    if (!WriteRenameLine(picturePath, renameTarget)) return;
    MoveOutcome moved = MoveOutcome::Failed;
    std::error_code error =
        Move(picturePath, renameTarget, JournalRecord::Kind::Rename, moved, false);
    if (!error) {
      movedAtOnce = true;
    } else {
      if (!TakeBackRenameLine(picturePath)) return;
      if (error != std::errc::file_exists) {
        state_.Report(ProblemKind::RenameFailed, picturePath,
                      "cannot rename to " + renameTarget + ": " + error.message());
        return;
      }
    }
  }

  if (!movedAtOnce) {
    std::optional<FreeName> found = FindFreeName(directory, name.NewName, picturePath, true);
    if (!found) {
      state_.Report(ProblemKind::NoFreeName, picturePath,
                    "no free name: every suffix up to -32766 is taken");
      return;
    }
    renameTarget = directory + found->candidate;
    // A picture that took a suffix because an identical copy holds the bare
    // name carries its name already, as does one that holds the name under
    // another link.
    if (found->samePicture ||
        (found->sameLength && IsSuffixedForm(FileNameOf(picturePath), name.NewName))) {
      renameTarget = picturePath;
    }
    if (!WriteRenameLine(picturePath, renameTarget)) return;
    if (renameTarget != picturePath) {
      MoveOutcome moved = MoveOutcome::Failed;
      std::error_code error = Move(picturePath, renameTarget, JournalRecord::Kind::Rename, moved);
      const bool declined = moved == MoveOutcome::Declined;
      if (declined || error) {
        state_.Report(declined ? ProblemKind::RenameDeclined : ProblemKind::RenameFailed,
                      picturePath,
                      declined ? "not renamed: kept the existing " + renameTarget
                               : "cannot rename to " + renameTarget + ": " + error.message());
        TakeBackRenameLine(picturePath);
        return;
      }
    }
  }
  // Here a target other than the picture's own path was moved to.
  if (renameTarget != picturePath) ++state_.summary.renamed;

  ++state_.renameCount;
  if (state_.frontEnd.ReadOptions().DateDirectories &&
      !ContainsIgnoringCase(directory, name.DatePart)) {
    MoveIntoDateDirectory(renameTarget, name.NewName, name.DatePart);
  }

  state_.frontEnd.ShowCount(state_.renameCount);
  state_.HandOver();
}

std::optional<RenameStep::FreeName> RenameStep::FindFreeName(const std::string& directory,
                                                             const std::string& newName,
                                                             const std::string& picturePath,
                                                             bool sameLengthRule) {
  const std::string stem(StemOf(newName));
  std::optional<std::uint64_t> pictureLength;  // looked up when first needed
  auto lengthOfPicture = [&] {
    if (!pictureLength && pictureStatus_) pictureLength = pictureStatus_->size;
    if (!pictureLength) {
      FsResult<PathStatus> own =
          state_.fileSystem.StatusOf(picturePath, SymbolicLinks::NotFollowed);
      pictureLength = own.ok() ? own->size : UINT64_MAX;
    }
    return *pictureLength;
  };
  // What earlier searches found spares looking again: the run has freed
  // none of those names since. Only a search that met a taken name is
  // remembered.
  SuffixMemory::Known* known = state_.suffixes.Find(directory, stem);
  int index = known ? known->taken : 0;
  if (known && sameLengthRule && !known->firstOfLength.empty()) {
    auto first = known->firstOfLength.find(lengthOfPicture());
    if (first != known->firstOfLength.end()) index = first->second;
  }
  for (;; ++index) {
    if (index >= kSuffixLimit) return std::nullopt;
    std::string candidate = Candidate(newName, stem, index);
    // Anything at a name takes it; where the look-up fails, the move will
    // tell why.
    FsResult<PathStatus> status =
        state_.fileSystem.StatusOf(directory + candidate, SymbolicLinks::NotFollowed);
    bool sameLength = sameLengthRule && status.ok() && status->type == EntryType::Regular &&
                      status->size == lengthOfPicture();
    if (!status.ok() || sameLength) {
      if (known) known->taken = std::max(known->taken, index);
      return FreeName{candidate, sameLength, sameLength && IsThePicture(status.value())};
    }
    if (!known) known = &state_.suffixes.For(directory, stem);
    if (status->type == EntryType::Regular) known->firstOfLength.emplace(status->size, index);
  }
}

bool RenameStep::WriteRenameLine(const std::string& picturePath, const std::string& renameTarget) {
  if (std::error_code error = state_.renameList.AppendRenameLine(picturePath, renameTarget)) {
    state_.Report(ProblemKind::RenameListWriteFailed, state_.renameList.Path(),
                  "cannot write the rename list: " + error.message() +
                      "; the run stops before renaming " + picturePath);
    state_.stopRequested = true;
    return false;
  }
  return true;
}

bool RenameStep::TakeBackRenameLine(const std::string& picturePath) {
  if (std::error_code error = state_.renameList.TakeBackLastLine()) {
    state_.Report(ProblemKind::RenameListWriteFailed, state_.renameList.Path(),
                  "cannot take back the line of " + picturePath +
                      ", which was not renamed: " + error.message() + "; the run stops");
    state_.stopRequested = true;
    return false;
  }
  return true;
}

bool RenameStep::IsThePicture(const PathStatus& status) const {
  return pictureStatus_ && status.inode != 0 && status.inode == pictureStatus_->inode &&
         status.device == pictureStatus_->device;
}

std::error_code RenameStep::Move(const std::string& from, const std::string& to,
                                 JournalRecord::Kind kind, MoveOutcome& outcome,
                                 bool askToReplace) {
  outcome = MoveOutcome::Failed;
  JournalRecord record{kind, from, to, false, {}};
  if (state_.journal) {
    if (!pictureStatus_) {
      FsResult<PathStatus> status = state_.fileSystem.StatusOf(from, SymbolicLinks::NotFollowed);
      if (!status.ok()) return status.error();
      pictureStatus_ = status.value();
    }
    record.identity = {*pictureStatus_, pictureStartHash_};
    if (std::error_code error = WriteAhead(record)) return error;
  }
  std::error_code error = state_.fileSystem.MoveNoReplace(from, to);
  if (error == std::errc::file_exists && askToReplace) {
    FsResult<PathStatus> there = state_.fileSystem.StatusOf(to, SymbolicLinks::NotFollowed);
    if (there.ok() && IsThePicture(there.value())) {
      outcome = MoveOutcome::SamePicture;
      if (state_.journal) TakeBackRecord(from);
      return {};
    }
    if (state_.frontEnd.AskReplace(ReplaceQuestion{from, to}) == ReplaceAnswer::Replace) {
      record.replaced = true;
      if (state_.journal) {
        if (std::error_code e = TakeBackRecord(from)) return e;
        if (std::error_code e = WriteAhead(record)) return e;
      }
      error = state_.fileSystem.MoveReplacing(from, to);
    } else {
      outcome = MoveOutcome::Declined;
    }
  }
  if (!error && outcome != MoveOutcome::Declined) {
    outcome = MoveOutcome::Moved;
    state_.suffixes.Freed(std::string(DirectoryOf(from)), FileNameOf(from));
  } else if (state_.journal) {
    TakeBackRecord(from);
  }
  return error;
}

std::error_code RenameStep::WriteAhead(const JournalRecord& record) {
  std::error_code error = state_.journal->Append(record);
  if (error) {
    state_.Report(
        ProblemKind::JournalWriteFailed, state_.journal->Path(),
        "cannot write the journal: " + error.message() + "; the run stops before " +
            (record.kind == JournalRecord::Kind::MakeDirectory ? "making " + record.from
                                                               : "moving " + record.from));
    state_.stopRequested = true;
  }
  return error;
}

std::error_code RenameStep::TakeBackRecord(const std::string& path) {
  std::error_code error = state_.journal->TakeBackLast();
  if (error) {
    state_.Report(ProblemKind::JournalWriteFailed, state_.journal->Path(),
                  "cannot take back the record of " + path +
                      ", which did not change: " + error.message() + "; the run stops");
    state_.stopRequested = true;
  }
  return error;
}

void RenameStep::MoveIntoDateDirectory(const std::string& renameTarget, const std::string& newName,
                                       const std::string& datePart) {
  const std::string subDirectory = state_.walkedDirectory + datePart;
  auto fail = [&](const std::string& why) {
    state_.Report(ProblemKind::SubDirectoryMoveFailed, renameTarget,
                  why + "; the picture stays in its own directory");
  };
  // Only a real directory takes the picture; the date sub-directory is made
  // by the first picture that needs it.
  FsResult<PathStatus> status =
      state_.fileSystem.StatusOf(subDirectory, SymbolicLinks::NotFollowed);
  if (status.ok() && status->type != EntryType::Directory) {
    return fail(subDirectory + (status->type == EntryType::Symlink
                                    ? " is a symbolic link, which is not followed"
                                    : " is not a directory"));
  }
  if (!status.ok()) {
    if (state_.journal && WriteAhead(JournalRecord{
                              JournalRecord::Kind::MakeDirectory, subDirectory, "", false, {}})) {
      return;
    }
    if (std::error_code made = state_.fileSystem.CreateDirectory(subDirectory)) {
      if (state_.journal) TakeBackRecord(subDirectory);
      return fail("cannot create " + subDirectory + ": " + made.message());
    }
  }
  std::optional<FreeName> found =
      FindFreeName(subDirectory + kPathSeparator, newName, renameTarget, false);
  if (!found)
    return fail("no free name in " + subDirectory + ": every suffix up to -32766 is taken");
  const std::string target = subDirectory + kPathSeparator + found->candidate;
  MoveOutcome moved = MoveOutcome::Failed;
  std::error_code error = Move(renameTarget, target, JournalRecord::Kind::Move, moved);
  if (moved == MoveOutcome::Declined) {
    fail("not moved: kept the existing " + target);
  } else if (error) {
    fail("cannot move to " + target + ": " + error.message());
  } else if (moved == MoveOutcome::Moved) {
    ++state_.summary.movedIntoDateDirectories;
    state_.summary.dateDirectories.insert(subDirectory);
  }
}

}  // namespace tessaly
