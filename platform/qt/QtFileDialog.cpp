#include "platform/qt/QtFileDialog.h"

#include <QFileSystemModel>

namespace tessaly {

QtFileDialog::QtFileDialog(QWidget* owner) : dialog_(std::make_unique<QFileDialog>(owner)) {
  dialog_->setOption(QFileDialog::DontUseNativeDialog);
  dialog_->setFileMode(QFileDialog::ExistingFile);
  dialog_->setAcceptMode(QFileDialog::AcceptOpen);
}

void QtFileDialog::SetTitle(const QString& title) {
  dialog_->setWindowTitle(title);
}

void QtFileDialog::SetFilter(const QString& filter) {
  dialog_->setNameFilter(filter);
  // "*.*" means every file on the system the filter was written for; here
  // it would hide names without a dot.
  if (auto* model = dialog_->findChild<QFileSystemModel*>()) {
    model->setNameFilters({QStringLiteral("*")});
    model->setNameFilterDisables(false);
  }
}

void QtFileDialog::ShowOpen() {
  if (dialog_->exec() == QDialog::Accepted && !dialog_->selectedFiles().isEmpty()) {
    fileName_ = dialog_->selectedFiles().constFirst();
  }
}

}  // namespace tessaly
