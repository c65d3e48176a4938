#include "cli/RenameCommand.h"

#include <filesystem>

#include "cli/CliFrontEnd.h"
#include "cli/TerminalText.h"
#include "cli/Usage.h"
#include "engine/RunPreview.h"

namespace tessaly {

int RunRenameCommand(std::span<const std::string> arguments, FileSystem& fileSystem,
                     const RenameListPlace& defaultPlace, bool showProgress, std::ostream& out,
                     std::ostream& err) {
  RenameOptions options;
  RenameListPlace place = defaultPlace;
  std::string directory;
  bool optionsEnded = false, dryRun = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!optionsEnded && (argument == "--help" || argument == "-h")) {
      out << kRenameUsage;
      return 0;
    } else if (!optionsEnded && argument == "--dry-run") {
      dryRun = true;
    } else if (!optionsEnded && argument == "--no-subdir") {
      options.DateDirectories = false;
    } else if (!optionsEnded && argument == "--maker") {
      options.MakerPrefix = true;
    } else if (!optionsEnded && argument == "--model") {
      options.ModelPrefix = true;
    } else if (!optionsEnded && argument == "--list") {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        err << "tessaly-cli rename: --list needs a file name\n" << kRenameUsage;
        return 2;
      }
      place.explicitPath = arguments[++i];
    } else if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      err << "tessaly-cli rename: unknown option " << TerminalText(argument) << "\n"
          << kRenameUsage;
      return 2;
    } else if (directory.empty() && !argument.empty()) {
      directory = argument;
    } else {
      err << "tessaly-cli rename: give exactly one directory\n" << kRenameUsage;
      return 2;
    }
  }
  if (directory.empty()) {
    err << "tessaly-cli rename: no directory given\n" << kRenameUsage;
    return 2;
  }

  // The rename list holds full paths, as the window's does.
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(directory, error);
  if (!error) directory = absolute.string();

  // A preview prints the list's lines as it writes them.
  CliFrontEnd frontEnd(options, err, showProgress);
  RunOutcome outcome;
  std::int64_t renameCount = 0;
  if (dryRun) {
    PreviewOutcome preview =
        PreviewRenameRun(fileSystem, frontEnd, directory, place,
                         [&out](std::string_view line) { out << TerminalText(line) << "\n"; });
    outcome = std::move(preview.run);
    renameCount = preview.handled;
  } else {
    RenameRun run(fileSystem, frontEnd);
    outcome = run.StartRun(directory, place);
    renameCount = run.RenameCount();
  }
  frontEnd.EndProgress();
  switch (outcome.status) {
    case RunStatus::NothingSelected:
    case RunStatus::DirectoryMissing:
    case RunStatus::ListNotCreated:
      err << "tessaly-cli rename: " << TerminalText(outcome.reason) << "; nothing was renamed\n";
      return 2;
    case RunStatus::Completed:
    case RunStatus::Stopped:
      break;
  }
  const RunSummary& summary = outcome.summary;
  const std::string moved = std::to_string(summary.movedIntoDateDirectories) + " into " +
                            std::to_string(summary.dateDirectories.size()) + " date directories";
  if (dryRun) {
    out << "Preview: would rename " << summary.renamed << ", move " << moved << ", pass over "
        << summary.passedOver << "; nothing was changed\n";
  } else {
    out << "Rename list: " << TerminalText(outcome.renameListPath) << "\n";
    out << "Renamed " << summary.renamed << ", moved " << moved << ", passed over "
        << summary.passedOver << "; journal: "
        << (outcome.journalPath.empty() ? std::string("none") : TerminalText(outcome.journalPath))
        << "\n";
  }
  out << "Rename Count = " << renameCount << "\n";
  out.flush();
  return frontEnd.Problems() > 0 ? 1 : 0;
}

}  // namespace tessaly
