#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <vector>

#include "engine/FrontEnd.h"

namespace tessaly {

// Lists the problems of a run, one "path: reason" line each, with a button
// that copies the list to the clipboard.
class ProblemListDialog final : public QDialog {
 public:
  ProblemListDialog(const std::vector<Problem>& problems, QWidget* owner);

  // The list as shown and copied.
  static QString ListText(const std::vector<Problem>& problems);
  void CopyToClipboard();

 private:
  QString text_;
};

}  // namespace tessaly
