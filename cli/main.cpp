// tessaly-cli: the command-line front end of the rename engine.

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

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
#include "engine/RenameRun.h"
#include "platform/NativeFileSystem.h"
#include "platform/ProgramLocation.h"
#ifdef _WIN32
#include "platform/windows/WideText.h"
#endif

namespace {

#ifdef _WIN32
bool StderrIsTerminal() {
  return _isatty(_fileno(stderr)) != 0;
}
int WriteOneByte() {
  return _write(_fileno(stdout), "\n", 1);
}
#else
bool StderrIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}
ssize_t WriteOneByte() {
  return write(STDOUT_FILENO, "\n", 1);
}
#endif

int Main(const std::vector<std::string>& arguments) {
  if (arguments.empty()) {
    std::cerr << tessaly::kUsage;
    return 2;
  }
  const std::string command = arguments.front();
  std::span<const std::string> rest(arguments.data() + 1, arguments.size() - 1);
  tessaly::NativeFileSystem fileSystem;
  // Where the rename list and the journals go: beside the program, else in
  // the user's state directory.
  const tessaly::RenameListPlace place =
      tessaly::PlaceUnder(tessaly::ExecutableDirectory(), tessaly::UserStateDirectory());
  int status;
  if (command == "probe") {
    status = tessaly::RunProbeCommand(rest, fileSystem, std::cout, std::cerr);
  } else if (command == "rename") {
    status = tessaly::RunRenameCommand(rest, fileSystem, place, StderrIsTerminal(), std::cout,
                                       std::cerr);
  } else if (command == "undo") {
    status =
        tessaly::RunUndoCommand(rest, fileSystem, place.journalDirectory, std::cout, std::cerr);
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
    const char* why = WriteOneByte() < 0 ? std::strerror(errno) : "write error";
    std::cerr << "tessaly-cli: cannot write the output: " << why << "\n";
    return status == 0 ? 1 : status;
  }
  return status;
}

}  // namespace

#ifdef _WIN32
// The arguments as Windows passes them, UTF-16, so that paths in any script
// arrive whole; the output goes to the console as UTF-8.
int wmain(int argc, wchar_t** argv) {
  std::ios::sync_with_stdio(false);
  tessaly::ShowOutputAsUtf8();
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i)
    arguments.push_back(tessaly::Utf8FromWide(argv[i]));
  return Main(arguments);
}
#else
int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return Main(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
