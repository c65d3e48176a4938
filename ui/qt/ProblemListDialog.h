#pragma once

#include <QDialog>

#include "ui/WindowView.h"

namespace tessaly {

// The problems of a run, to read and to copy: the list under its heading,
// with a button that copies the whole list.
class ProblemListDialog final : public QDialog {
 public:
  ProblemListDialog(const ProblemListTexts& texts, QWidget* owner);
  void CopyToClipboard();

 private:
  QString list_;
};

}  // namespace tessaly
