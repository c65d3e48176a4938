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
  std::optional<NewNameParts> name = ReadAndShow(picturePath);
  if (!name) return;
  std::optional<std::string> renameTarget = ClaimName(picturePath, name->newName);
  if (renameTarget) Commit(picturePath, *renameTarget, *name);
}

std::optional<NewNameParts> RenameStep::ReadAndShow(const std::string& picturePath) {
  ReadResult read = ReadPictureInfo(state_.fileSystem, picturePath, FileKinds::RegularOnly);
  if (!read.ok()) {
    bool limit = read.failure != ReadFailure::CannotOpen && read.failure != ReadFailure::CannotRead;
    state_.Report(limit ? ProblemKind::HeaderLimit : ProblemKind::PictureUnreadable, picturePath,
                  read.Reason());
    return std::nullopt;
  }
  if (!read.info.headerAccepted) return std::nullopt;
  // The model box is read first, then the maker box, once a picture.
  RenameOptions asked;
  asked.modelPrefix = state_.frontEnd.ReadOptions().modelPrefix;
  asked.makerPrefix = state_.frontEnd.ReadOptions().makerPrefix;
  KeepAskedTexts(read.info, asked);
  const PictureInfo& info = read.info;
  // The picture's length and identity as it was read; a rename keeps them.
  pictureStatus_ = read.fileStatus;
  pictureStartHash_ = read.startHash;

  NewNameParts name = BuildNewName(info);
  state_.frontEnd.ShowPicture(ShownPicture{Windows1252ToUtf8(info.dateText),
                                           Windows1252ToUtf8(info.timeText), name.newName,
                                           std::string(FileNameOf(picturePath))});
  state_.HandOver();

  if (NameProblem problem = CheckNewName(info, name.newName); problem != NameProblem::None) {
    if (problem == NameProblem::ControlCharacter) {
      state_.Report(ProblemKind::UnusableName, picturePath,
                    "the new name would hold a control character; left as it is");
    } else if (problem == NameProblem::ForbiddenCharacter) {
      state_.Report(ProblemKind::UnusableName, picturePath,
                    "the new name would hold one of < > : \" | ? *, which Windows does not allow "
                    "in a file name; left as it is");
    }
    return std::nullopt;
  }
  if (picturePath.find("\r\n") != std::string::npos) {
    state_.Report(ProblemKind::UnusableName, picturePath,
                  "the path holds a line break (CR LF), which would split its line in the rename "
                  "list; left as it is");
    return std::nullopt;
  }
  return name;
}

std::optional<std::string> RenameStep::ClaimName(const std::string& picturePath,
                                                 const std::string& newName) {
  // Most new names are free: where no search has met this name taken, the
  // rename is made at once, never replacing, and only a name found taken is
  // looked into by the clash rules. The outcome is the search's: the first
  // candidate is the name itself.
  const std::string& directory = state_.walkedDirectory;
  if (FileNameOf(picturePath) == newName || state_.suffixes.Find(directory, StemOf(newName))) {
    return ClaimAfterClash(picturePath, newName);
  }
  const std::string renameTarget = directory + newName;
  if (ListAhead(picturePath, renameTarget)) return std::nullopt;
  MoveResult moved = Move(picturePath, renameTarget, JournalRecord::Kind::Rename, IfTaken::GiveUp);
  if (moved.outcome == MoveOutcome::Moved) return renameTarget;
  if (TakeBack(state_.renameList, picturePath)) return std::nullopt;
  if (moved.outcome == MoveOutcome::Taken) return ClaimAfterClash(picturePath, newName);
  state_.Report(ProblemKind::RenameFailed, picturePath,
                "cannot rename to " + renameTarget + ": " + moved.error.message());
  return std::nullopt;
}

std::optional<std::string> RenameStep::ClaimAfterClash(const std::string& picturePath,
                                                       const std::string& newName) {
  const std::string& directory = state_.walkedDirectory;
  std::optional<FreeName> found =
      FindFreeName(directory, newName, picturePath, SameLength::CountsAsFound);
  if (!found) {
    state_.Report(ProblemKind::NoFreeName, picturePath,
                  "no free name: every suffix up to -32766 is taken");
    return std::nullopt;
  }
  std::string renameTarget = directory + found->candidate;
  // A picture that took a suffix because an identical copy holds the bare
  // name carries its name already, as does one that holds the name under
  // another link.
  if (found->samePicture ||
      (found->sameLength && IsSuffixedForm(FileNameOf(picturePath), newName))) {
    renameTarget = picturePath;
  }
  if (ListAhead(picturePath, renameTarget)) return std::nullopt;
  if (renameTarget == picturePath) return renameTarget;
  MoveResult moved =
      Move(picturePath, renameTarget, JournalRecord::Kind::Rename, IfTaken::AskToReplace);
  const bool declined = moved.outcome == MoveOutcome::Declined;
  if (declined || moved.outcome == MoveOutcome::Failed) {
    state_.Report(declined ? ProblemKind::RenameDeclined : ProblemKind::RenameFailed, picturePath,
                  declined ? "not renamed: kept the existing " + renameTarget
                           : "cannot rename to " + renameTarget + ": " + moved.error.message());
    TakeBack(state_.renameList, picturePath);
    return std::nullopt;
  }
  return renameTarget;
}

void RenameStep::Commit(const std::string& picturePath, const std::string& renameTarget,
                        const NewNameParts& name) {
  // Here a target other than the picture's own path was moved to.
  if (renameTarget != picturePath) ++state_.summary.renamed;

  ++state_.renameCount;
  if (state_.frontEnd.ReadOptions().dateDirectories &&
      !ContainsIgnoringCase(state_.walkedDirectory, name.datePart)) {
    MoveIntoDateDirectory(renameTarget, name.newName, name.datePart);
  }

  state_.frontEnd.ShowCount(state_.renameCount);
  state_.HandOver();
}

std::optional<RenameStep::FreeName> RenameStep::FindFreeName(const std::string& directory,
                                                             const std::string& newName,
                                                             const std::string& picturePath,
                                                             SameLength rule) {
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
  if (known && rule == SameLength::CountsAsFound && !known->firstOfLength.empty()) {
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
    bool sameLength = rule == SameLength::CountsAsFound && status.ok() &&
                      status->type == EntryType::Regular && status->size == lengthOfPicture();
    if (!status.ok() || sameLength) {
      if (known) known->taken = std::max(known->taken, index);
      return FreeName{candidate, sameLength, sameLength && IsThePicture(status.value())};
    }
    if (!known) known = &state_.suffixes.For(directory, stem);
    if (status->type == EntryType::Regular) known->firstOfLength.emplace(status->size, index);
  }
}

bool RenameStep::IsThePicture(const PathStatus& status) const {
  return pictureStatus_ && status.inode != 0 && status.inode == pictureStatus_->inode &&
         status.device == pictureStatus_->device;
}

RenameStep::MoveResult RenameStep::Move(const std::string& from, const std::string& to,
                                        JournalRecord::Kind kind, IfTaken ifTaken) {
  JournalRecord record{kind, from, to, false, {}};
  const std::string act = "moving " + from;
  if (state_.journal) {
    if (!pictureStatus_) {
      FsResult<PathStatus> status = state_.fileSystem.StatusOf(from, SymbolicLinks::NotFollowed);
      if (!status.ok()) return {MoveOutcome::Failed, status.error()};
      pictureStatus_ = status.value();
    }
    record.identity = {*pictureStatus_, pictureStartHash_};
    if (std::error_code error = WriteAhead(*state_.journal, JournalLine(record), act)) {
      return {MoveOutcome::Failed, error};
    }
  }
  std::error_code error = state_.fileSystem.MoveNoReplace(from, to);
  if (error == std::errc::file_exists && ifTaken == IfTaken::AskToReplace) {
    FsResult<PathStatus> there = state_.fileSystem.StatusOf(to, SymbolicLinks::NotFollowed);
    const bool samePicture = there.ok() && IsThePicture(there.value());
    if (samePicture ||
        state_.frontEnd.AskReplace(ReplaceQuestion{from, to}) != ReplaceAnswer::Replace) {
      if (state_.journal) TakeBack(*state_.journal, from);
      return {samePicture ? MoveOutcome::SamePicture : MoveOutcome::Declined, {}};
    }
    record.replaced = true;
    if (state_.journal) {
      if (std::error_code e = TakeBack(*state_.journal, from)) return {MoveOutcome::Failed, e};
      if (std::error_code e = WriteAhead(*state_.journal, JournalLine(record), act)) {
        return {MoveOutcome::Failed, e};
      }
    }
    error = state_.fileSystem.MoveReplacing(from, to);
  }
  if (error) {
    if (state_.journal) TakeBack(*state_.journal, from);
    const bool taken = error == std::errc::file_exists && ifTaken == IfTaken::GiveUp;
    return {taken ? MoveOutcome::Taken : MoveOutcome::Failed, error};
  }
  state_.suffixes.Freed(std::string(DirectoryOf(from)), FileNameOf(from));
  return {MoveOutcome::Moved, {}};
}

std::error_code RenameStep::ListAhead(const std::string& picturePath,
                                      const std::string& renameTarget) {
  return WriteAhead(state_.renameList, RenameListLine(picturePath, renameTarget),
                    "renaming " + picturePath);
}

std::error_code RenameStep::WriteAhead(WriteAheadFile& file, std::string_view line,
                                       const std::string& act) {
  std::error_code error = file.WriteAhead(line);
  if (error) {
    Stop(file, "cannot write the " + std::string(file.Named().name) + ": " + error.message() +
                   "; the run stops before " + act);
  }
  return error;
}

std::error_code RenameStep::TakeBack(WriteAheadFile& file, const std::string& path) {
  std::error_code error = file.TakeBack();
  if (error) {
    const WriteAheadFile::Words& words = file.Named();
    Stop(file, "cannot take back the " + std::string(words.line) + " of " + path + ", which " +
                   std::string(words.notDone) + ": " + error.message() + "; the run stops");
  }
  return error;
}

void RenameStep::Stop(const WriteAheadFile& file, std::string why) {
  state_.Report(file.Named().failure, file.Path(), std::move(why));
  state_.stopRequested = true;
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
    const JournalRecord made{JournalRecord::Kind::MakeDirectory, subDirectory, "", false, {}};
    if (state_.journal &&
        WriteAhead(*state_.journal, JournalLine(made), "making " + subDirectory)) {
      return;
    }
    if (std::error_code error = state_.fileSystem.CreateDirectory(subDirectory)) {
      if (state_.journal) TakeBack(*state_.journal, subDirectory);
      return fail("cannot create " + subDirectory + ": " + error.message());
    }
  }
  std::optional<FreeName> found =
      FindFreeName(subDirectory + kPathSeparator, newName, renameTarget, SameLength::CountsAsTaken);
  if (!found)
    return fail("no free name in " + subDirectory + ": every suffix up to -32766 is taken");
  const std::string target = JoinPath(subDirectory, found->candidate);
  MoveResult moved = Move(renameTarget, target, JournalRecord::Kind::Move, IfTaken::AskToReplace);
  switch (moved.outcome) {
    case MoveOutcome::Declined:
      return fail("not moved: kept the existing " + target);
    case MoveOutcome::Taken:
    case MoveOutcome::Failed:
      return fail("cannot move to " + target + ": " + moved.error.message());
    case MoveOutcome::Moved:
      ++state_.summary.movedIntoDateDirectories;
      state_.summary.dateDirectories.insert(subDirectory);
      return;
    case MoveOutcome::SamePicture:
      return;
  }
}

}  // namespace tessaly
