#pragma once

#include <QString>

namespace tessaly {

// The file-open dialog, one object for the window's life. Like the common
// dialog it stands for, a cancelled dialog leaves FileName() as it was.
class FileDialog {
 public:
  virtual ~FileDialog() = default;
  virtual void SetTitle(const QString& title) = 0;
  virtual void SetFilter(const QString& filter) = 0;
  // Shows the dialog and waits for it to close.
  virtual void ShowOpen() = 0;
  // The full path of the file chosen last; empty before any choice.
  virtual QString FileName() const = 0;
};

// Opens a file in the user's viewer for its kind.
class Viewer {
 public:
  virtual ~Viewer() = default;
  // False when no program could be started for it.
  virtual bool Open(const QString& path) = 0;
};

}  // namespace tessaly
