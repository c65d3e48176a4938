// tessaly: the window.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ProgramLocation.h"
#include "platform/posix/PosixFileSystem.h"
#include "ui/qt/DesktopViewer.h"
#include "ui/qt/QtFileDialog.h"
#include "ui/qt/QtWindow.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("tessaly " TESSALY_VERSION "\n");
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf(
          "usage: tessaly [--help | --version]\n"
          "\n"
          "Opens the window that renames camera pictures after the date and time\n"
          "in their Exif headers. The command line does the same: tessaly-cli --help.\n");
      return 0;
    }
  }
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "tessaly: no display to open the window on (neither DISPLAY nor "
                 "WAYLAND_DISPLAY is set).\n"
                 "Start it from a desktop session, or use the command line:\n"
                 "  tessaly-cli rename DIR\n");
    return 2;
  }
  QApplication application(argc, argv);
  tessaly::PosixFileSystem fileSystem;

  // Every dialog belongs to the window: centred over it, without a taskbar
  // entry of its own.
  tessaly::DesktopViewer viewer;
  tessaly::QtFileDialog dialog(nullptr);
  tessaly::QtWindow window(
      fileSystem, {&dialog, &viewer},
      tessaly::PlaceUnder(tessaly::ExecutableDirectory(), tessaly::UserStateDirectory()));
  dialog.SetOwner(&window);
  window.show();
  return application.exec();
}
