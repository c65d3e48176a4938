// tessaly-cli: the command-line front end of the rename engine.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/ProbeCommand.h"
#include "cli/RenameCommand.h"
#include "cli/Usage.h"
#include "platform/PosixFileSystem.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.empty()) {
    std::cerr << tessaly::kUsage;
    return 2;
  }
  const std::string command = arguments.front();
  std::span<const std::string> rest(arguments.data() + 1, arguments.size() - 1);
  tessaly::PosixFileSystem fileSystem;
  if (command == "probe") {
    return tessaly::RunProbeCommand(rest, fileSystem, std::cout, std::cerr);
  }
  if (command == "rename") {
    return tessaly::RunRenameCommand(rest, fileSystem, tessaly::DefaultRenameListPlace(),
                                     isatty(STDERR_FILENO) == 1, std::cout, std::cerr);
  }
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << tessaly::kUsage;
    return 0;
  }
  std::cerr << "tessaly-cli: unknown command " << command << "\n" << tessaly::kUsage;
  return 2;
}
