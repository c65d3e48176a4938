#include "ui/qt/ReviewDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {
namespace {

QPlainTextEdit* List(const std::string& text, const char* name, QWidget* owner) {
  auto* list = new QPlainTextEdit(QString::fromStdString(text), owner);
  list->setObjectName(QLatin1String(name));
  list->setReadOnly(true);
  list->setLineWrapMode(QPlainTextEdit::NoWrap);
  list->setMinimumSize(640, 120);
  return list;
}

}  // namespace

ReviewDialog::ReviewDialog(const ReviewTexts& texts, QWidget* owner) : QDialog(owner) {
  setWindowTitle(QString::fromStdString(texts.title));
  auto* layout = new QVBoxLayout(this);
  auto* counts = new QLabel(QString::fromStdString(texts.counts), this);
  counts->setObjectName(QStringLiteral("counts"));
  counts->setWordWrap(true);
  layout->addWidget(counts);
  layout->addWidget(List(texts.changes, "changes", this), 3);
  if (!texts.problems.empty()) layout->addWidget(List(texts.problems, "problems", this), 1);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* proceed =
      buttons->addButton(QString::fromStdString(texts.proceed), QDialogButtonBox::AcceptRole);
  QPushButton* close =
      buttons->addButton(QString::fromStdString(texts.close), QDialogButtonBox::RejectRole);
  (texts.defaultButton == ReviewButton::Proceed ? proceed : close)->setDefault(true);
  (texts.defaultButton == ReviewButton::Proceed ? proceed : close)->setFocus();
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

ReviewButton ReviewDialog::Ask() {
  return exec() == QDialog::Accepted ? ReviewButton::Proceed : ReviewButton::Close;
}

}  // namespace tessaly
