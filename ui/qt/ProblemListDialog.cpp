#include "ui/qt/ProblemListDialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

ProblemListDialog::ProblemListDialog(const ProblemListTexts& texts, QWidget* owner)
    : QDialog(owner), list_(QString::fromStdString(texts.list)) {
  setWindowTitle(QString::fromStdString(texts.title));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromStdString(texts.heading), this));
  auto* list = new QPlainTextEdit(list_, this);
  list->setReadOnly(true);
  list->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  list->setMinimumSize(640, 240);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* copy =
      buttons->addButton(QString::fromStdString(texts.copy), QDialogButtonBox::ActionRole);
  buttons->addButton(QString::fromStdString(texts.close), QDialogButtonBox::RejectRole);
  connect(copy, &QPushButton::clicked, this, &ProblemListDialog::CopyToClipboard);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void ProblemListDialog::CopyToClipboard() {
  QGuiApplication::clipboard()->setText(list_);
}

}  // namespace tessaly
