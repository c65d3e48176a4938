#include "cli/ProbeCommand.h"

#include "cli/CommandArguments.h"
#include "cli/Usage.h"
#include "core/BuildNewName.h"
#include "engine/ReadPictureFile.h"
#include "text/Json.h"
#include "text/Windows1252.h"

namespace tessaly {
namespace {

constexpr std::string_view kProbeFlags[] = {"--maker", "--model"};
constexpr CommandSyntax kProbe{"probe", kProbeUsage, kProbeFlags};

// The probe's line of one file.
std::string ProbeLine(const std::string& file, const ReadResult& read) {
  const PictureInfo& info = read.info;
  NewNameParts name = info.headerAccepted ? BuildNewName(info) : NewNameParts{};
  JsonObjectWriter line;
  line.Text("path", file);
  line.Flag("accepted", info.headerAccepted);
  line.Flag("date_found", info.dateFound);
  line.Text("date_text", Windows1252ToUtf8(info.dateText));
  line.Text("time_text", Windows1252ToUtf8(info.timeText));
  line.Text("maker_text", Windows1252ToUtf8(info.makerText));
  line.Text("model_text", Windows1252ToUtf8(info.modelText));
  line.Text("new_name", name.newName);
  line.Text("date_part", name.datePart);
  line.Flag("usable", info.headerAccepted && IsUsableName(info, name.newName));
  if (!read.ok()) line.Text("error", read.Reason());
  return line.Finish() + "\n";
}

}  // namespace

int RunProbeCommand(std::span<const std::string> arguments, FileSystem& fileSystem,
                    std::ostream& out, std::ostream& err) {
  const CommandArguments read = ReadCommandArguments(arguments, kProbe, out, err);
  if (read.exitStatus) return *read.exitStatus;
  if (read.operands.empty()) return UsageError(kProbe, "no file given", err);
  RenameOptions options;
  options.makerPrefix = read.Has("--maker");
  options.modelPrefix = read.Has("--model");
  int status = 0;
  for (const std::string& file : read.operands) {
    ReadResult result = ReadPictureInfo(fileSystem, file, FileKinds::Any);
    KeepAskedTexts(result.info, options);
    out << ProbeLine(file, result);
    if (!result.ok()) status = 1;
  }
  out.flush();
  return status;
}

}  // namespace tessaly
