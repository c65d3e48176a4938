#pragma once

#include <QString>
#include <vector>

#include "engine/FrontEnd.h"
#include "platform/qt/WindowServices.h"

namespace tessaly {

// The window's messages to the user.
class WindowMessages {
 public:
  virtual ~WindowMessages() = default;
  virtual void ShowError(const QString& title, const QString& text) = 0;
  // The problems of a run that has ended, to read and copy, in the language
  // of `languageIndex` (0 English, 1 Chinese).
  virtual void ShowProblems(const std::vector<Problem>& problems, int languageIndex) = 0;
};

// What the window needs of the desktop; tests put their own in.
struct WindowServices {
  FileDialog* fileDialog;
  Viewer* viewer;
  ReplaceAsker* replaceAsker;
  WindowMessages* messages;
};

}  // namespace tessaly
