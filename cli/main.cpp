// tessaly-cli: the command-line front end of the rename engine.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/ProbeCommand.h"
#include "cli/RenameCommand.h"
#include "cli/TerminalText.h"
#include "cli/UndoCommand.h"
#include "cli/Usage.h"
#include "platform/NativeFileSystem.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.empty()) {
    std::cerr << tessaly::kUsage;
    return 2;
  }
  const std::string command = arguments.front();
  std::span<const std::string> rest(arguments.data() + 1, arguments.size() - 1);
  tessaly::NativeFileSystem fileSystem;
  int status;
  if (command == "probe") {
    status = tessaly::RunProbeCommand(rest, fileSystem, std::cout, std::cerr);
  } else if (command == "rename") {
    status = tessaly::RunRenameCommand(rest, fileSystem, tessaly::DefaultRenameListPlace(),
                                       isatty(STDERR_FILENO) == 1, std::cout, std::cerr);
  } else if (command == "undo") {
    status = tessaly::RunUndoCommand(
        rest, fileSystem, tessaly::DefaultRenameListPlace().journalDirectory, std::cout, std::cerr);
  } else if (command == "--help" || command == "-h" || command == "help") {
    std::cout << tessaly::kUsage;
    status = 0;
  } else if (command == "--version") {
    std::cout << "tessaly-cli " TESSALY_VERSION "\n";
    status = 0;
  } else {
    std::cerr << "tessaly-cli: unknown command " << tessaly::TerminalText(command) << "\n"
              << tessaly::kUsage;
    return 2;
  }
  // Output that did not reach its place (a full disk, a closed pipe) is a
  // failure, not a success. One more byte written by hand tells why.
  if (!std::cout.flush()) {
    const char* why = write(STDOUT_FILENO, "\n", 1) < 0 ? std::strerror(errno) : "write error";
    std::cerr << "tessaly-cli: cannot write the output: " << why << "\n";
    return status == 0 ? 1 : status;
  }
  return status;
}
