#include "cli/RenameCommand.h"

#include <filesystem>

#include "cli/CliFrontEnd.h"
#include "cli/CommandArguments.h"
#include "cli/TerminalText.h"
#include "cli/Usage.h"
#include "engine/RunPreview.h"

namespace tessaly {
namespace {

constexpr std::string_view kRenameFlags[] = {"--dry-run", "--no-subdir", "--maker", "--model"};
constexpr CommandSyntax kRename{"rename",
                                kRenameUsage,
                                kRenameFlags,
                                "--list",
                                "--list needs a file name",
                                Operands::AtMostOne,
                                "give exactly one directory"};

// The closing lines: what the run did (or, as a preview, would do).
void Summarise(const RunOutcome& outcome, bool dryRun, std::ostream& out) {
  const RunSummary& summary = outcome.summary;
  const std::string moved = std::to_string(summary.movedIntoDateDirectories) + " into " +
                            std::to_string(summary.dateDirectories.size()) + " date directories";
  if (dryRun) {
    out << "Preview: would rename " << summary.renamed << ", move " << moved << ", pass over "
        << summary.passedOver << "; nothing was changed\n";
    return;
  }
  out << "Rename list: " << TerminalText(outcome.renameListPath) << "\n";
  out << "Renamed " << summary.renamed << ", moved " << moved << ", passed over "
      << summary.passedOver << "; journal: "
      << (outcome.journalPath.empty() ? std::string("none") : TerminalText(outcome.journalPath))
      << "\n";
}

}  // namespace

int RunRenameCommand(std::span<const std::string> arguments, FileSystem& fileSystem,
                     const RenameListPlace& defaultPlace, bool showProgress, std::ostream& out,
                     std::ostream& err) {
  const CommandArguments read = ReadCommandArguments(arguments, kRename, out, err);
  if (read.exitStatus) return *read.exitStatus;
  if (read.operands.empty()) return UsageError(kRename, "no directory given", err);
  RenameOptions options;
  options.dateDirectories = !read.Has("--no-subdir");
  options.makerPrefix = read.Has("--maker");
  options.modelPrefix = read.Has("--model");
  const bool dryRun = read.Has("--dry-run");
  RenameListPlace place = defaultPlace;
  if (!read.value.empty()) place.explicitPath = read.value;

  // The rename list holds full paths, as the window's does.
  std::string directory = read.operands.front();
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
    case RunStatus::DirectoryMissing:
    case RunStatus::ListNotCreated:
      err << "tessaly-cli rename: " << TerminalText(outcome.reason) << "; nothing was renamed\n";
      return 2;
    case RunStatus::Completed:
    case RunStatus::Stopped:
      break;
  }
  Summarise(outcome, dryRun, out);
  out << "Rename Count = " << renameCount << "\n";
  out.flush();
  return frontEnd.Problems() > 0 ? 1 : 0;
}

}  // namespace tessaly
