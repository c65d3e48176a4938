#include "ui/ProblemListDialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

QString ProblemListDialog::ListText(const std::vector<Problem>& problems) {
  QString text;
  for (const Problem& problem : problems) {
    text += QString::fromStdString(problem.path) + QStringLiteral(": ") +
            QString::fromStdString(problem.reason) + QLatin1Char('\n');
  }
  return text;
}

ProblemListDialog::ProblemListDialog(const std::vector<Problem>& problems, QWidget* owner)
    : QDialog(owner), text_(ListText(problems)) {
  setWindowTitle(QStringLiteral("Pictures passed over"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel(QStringLiteral("%1 problem(s) in this run. These files were left as they were:")
                     .arg(problems.size()),
                 this));
  auto* list = new QPlainTextEdit(text_, this);
  list->setReadOnly(true);
  list->setLineWrapMode(QPlainTextEdit::NoWrap);
  list->setMinimumSize(560, 200);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* copy = buttons->addButton(QStringLiteral("Copy"), QDialogButtonBox::ActionRole);
  connect(copy, &QPushButton::clicked, this, &ProblemListDialog::CopyToClipboard);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void ProblemListDialog::CopyToClipboard() {
  QGuiApplication::clipboard()->setText(text_);
}

}  // namespace tessaly
