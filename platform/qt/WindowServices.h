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
  virtual void Open(const QString& path) = 0;
};

enum class ReplaceChoice { Yes, No, YesToAll, NoToAll };

// The replace question's words in the window's language: the title, the
// question (%1 the name, %2 the file there, %3 the picture), one file's facts
// (%1 its path, %2 its size, %3 when it was modified) and the four answers.
struct ReplaceQuestionWords {
  QString title, question, fileFacts, yes, no, yesToAll, noToAll;
};

// Asks the user whether the picture may replace an existing file.
class ReplaceAsker {
 public:
  virtual ~ReplaceAsker() = default;
  virtual ReplaceChoice Ask(const ReplaceQuestionWords& words, const QString& picturePath,
                            const QString& existingPath) = 0;
};

}  // namespace tessaly
