#include "ui/qt/QtFileDialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileSystemModel>

namespace tessaly {

QtFileDialog::QtFileDialog(QWidget* owner) : dialog_(new QFileDialog(owner)) {
  dialog_->setOption(QFileDialog::DontUseNativeDialog);
  dialog_->setFileMode(QFileDialog::ExistingFile);
  dialog_->setAcceptMode(QFileDialog::AcceptOpen);
}

QtFileDialog::~QtFileDialog() {
  delete dialog_.data();
}

void QtFileDialog::SetOwner(QWidget* owner) {
  dialog_->setParent(owner, dialog_->windowFlags());
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
  // A path typed while the completion list is open and ended with Return
  // accepts the dialog but leaves the list open as the application's popup,
  // which would then take the next click on the window to close itself.
  for (QCompleter* completer : dialog_->findChildren<QCompleter*>()) {
    if (completer->popup() != nullptr) completer->popup()->hide();
  }
}

}  // namespace tessaly
