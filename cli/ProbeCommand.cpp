#include "cli/ProbeCommand.h"

#include <vector>

#include "cli/TerminalText.h"
#include "cli/Usage.h"
#include "core/BuildNewName.h"
#include "engine/ReadPictureFile.h"
#include "text/Json.h"
#include "text/Windows1252.h"

namespace tessaly {
namespace {

void AppendField(std::string& line, std::string_view key, std::string_view text) {
  line += ',';
  AppendJsonString(line, key);
  line += ':';
  AppendJsonString(line, text);
}

void AppendFlag(std::string& line, std::string_view key, bool flag) {
  line += ',';
  AppendJsonString(line, key);
  line += flag ? ":true" : ":false";
}

}  // namespace

int RunProbeCommand(std::span<const std::string> arguments, FileSystem& fileSystem,
                    std::ostream& out, std::ostream& err) {
  RenameOptions options;
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (!optionsEnded && (argument == "--help" || argument == "-h")) {
      out << kProbeUsage;
      return 0;
    } else if (!optionsEnded && argument == "--maker") {
      options.MakerPrefix = true;
    } else if (!optionsEnded && argument == "--model") {
      options.ModelPrefix = true;
    } else if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      err << "tessaly-cli probe: unknown option " << TerminalText(argument) << "\n" << kProbeUsage;
      return 2;
    } else {
      files.push_back(argument);
    }
  }
  if (files.empty()) {
    err << "tessaly-cli probe: no file given\n" << kProbeUsage;
    return 2;
  }

  FixedOptions source(options);
  int status = 0;
  std::string line;
  for (const std::string& file : files) {
    ReadResult read = ReadPictureInfo(fileSystem, file, source, FileKinds::Any);
    const PictureInfo& info = read.info;
    NewNameParts name = info.HeaderAccepted ? BuildNewName(info) : NewNameParts{};
    line.clear();
    line += '{';
    AppendJsonString(line, "path");
    line += ':';
    AppendJsonString(line, file);
    AppendFlag(line, "accepted", info.HeaderAccepted);
    AppendFlag(line, "date_found", info.DateFound);
    AppendField(line, "date_text", Windows1252ToUtf8(info.DateText));
    AppendField(line, "time_text", Windows1252ToUtf8(info.TimeText));
    AppendField(line, "maker_text", Windows1252ToUtf8(info.MakerText));
    AppendField(line, "model_text", Windows1252ToUtf8(info.ModelText));
    AppendField(line, "new_name", name.NewName);
    AppendField(line, "date_part", name.DatePart);
    AppendFlag(line, "usable", info.HeaderAccepted && IsUsableName(info, name.NewName));
    if (!read.ok()) {
      AppendField(line, "error", read.Reason());
      status = 1;
    }
    line += "}\n";
    out << line;
  }
  out.flush();
  return status;
}

}  // namespace tessaly
