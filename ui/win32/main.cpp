// tessaly.exe: the window on Windows.

#include <windows.h>

#include <commctrl.h>

#include "engine/RenameRun.h"
#include "platform/ProgramLocation.h"
#include "platform/windows/WindowsFileSystem.h"
#include "ui/win32/Win32Window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  tessaly::WindowsFileSystem fileSystem;
  tessaly::Win32Window window(
      instance, fileSystem,
      tessaly::PlaceUnder(tessaly::ExecutableDirectory(), tessaly::UserStateDirectory()));
  ShowWindow(window.Handle(), show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!window.TranslateShortcut(message) && !IsDialogMessageW(window.Handle(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return static_cast<int>(message.wParam);
}
