#include "engine/RenameRun.h"

#include "engine/DirectoryWalk.h"
#include "engine/RenameList.h"
#include "engine/RunState.h"
#include "platform/ProgramLocation.h"

namespace tessaly {

RenameListPlace DefaultRenameListPlace() {
  RenameListPlace place;
  place.programDirectory = ExecutableDirectory();
  place.stateDirectory = UserStateDirectory();
  return place;
}

RunOutcome RenameRun::StartRun(const std::string& selectedDirectory, const RenameListPlace& place) {
  RunOutcome outcome;
  if (selectedDirectory.empty()) {
    outcome.status = RunStatus::NothingSelected;
    return outcome;
  }
  std::string directory = selectedDirectory;
  if (directory.back() != '/') directory += '/';

  FsResult<PathStatus> status = fileSystem_.StatusOf(directory, true);
  if (!status.ok() || status->type != EntryType::Directory) {
    outcome.status = RunStatus::DirectoryMissing;
    outcome.reason = directory + ": " +
                     (status.ok() ? std::string("not a directory") : status.error().message());
    return outcome;
  }

  RenameList list;
  std::error_code error;
  if (!place.explicitPath.empty()) {
    error = list.Open(fileSystem_, place.explicitPath);
    if (error) outcome.reason = place.explicitPath + ": " + error.message();
  } else {
    error = OpenDefaultRenameList(list, fileSystem_, place.programDirectory, place.stateDirectory,
                                  outcome.reason);
  }
  if (error) {
    outcome.status = RunStatus::ListNotCreated;
    outcome.reason = "cannot use the rename list (" + outcome.reason + ")";
    return outcome;
  }
  outcome.renameListPath = list.Path();

  RunState state{fileSystem_, frontEnd_, list, renameCount_};
  DirectoryWalk walk(state);
  walk.ProcessDirectory(directory);
  if (std::error_code closed = list.Close()) {
    frontEnd_.ReportProblem(Problem{ProblemKind::RenameListWriteFailed, list.Path(),
                                    "cannot close the rename list: " + closed.message()});
  }
  outcome.status = state.stopRequested ? RunStatus::Stopped : RunStatus::Completed;
  return outcome;
}

}  // namespace tessaly
