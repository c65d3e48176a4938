#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <vector>

#include "engine/FrontEnd.h"

namespace tessaly {

// Lists the problems of a run by what became of the file (not renamed;
// renamed but not moved into its date directory; not read), one
// "path: reason" line each under its group's heading, in the language of
// `languageIndex`, with a button that copies the whole list.
class ProblemListDialog final : public QDialog {
 public:
  ProblemListDialog(const std::vector<Problem>& problems, int languageIndex, QWidget* owner);

  // The list as shown and copied.
  static QString ListText(const std::vector<Problem>& problems, int languageIndex);
  void CopyToClipboard();

 private:
  QString text_;
};

}  // namespace tessaly
