#include "ui/QtWindowMessages.h"

#include <QMessageBox>

#include "ui/ProblemListDialog.h"

namespace tessaly {

void QtWindowMessages::ShowError(const QString& title, const QString& text) {
  QMessageBox::warning(owner_, title, text);
}

void QtWindowMessages::ShowProblems(const std::vector<Problem>& problems, int languageIndex) {
  ProblemListDialog dialog(problems, languageIndex, owner_);
  dialog.exec();
}

}  // namespace tessaly
