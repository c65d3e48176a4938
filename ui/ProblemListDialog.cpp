#include "ui/ProblemListDialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/CaptionTable.h"

namespace tessaly {
namespace {

// What became of the file that the problem is about.
DialogText Group(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::SubDirectoryMoveFailed:
      return DialogText::RenamedNotMoved;
    case ProblemKind::PictureUnreadable:
    case ProblemKind::HeaderLimit:
    case ProblemKind::NotRegularFile:
    case ProblemKind::DirectoryUnreadable:
    case ProblemKind::EntryUnreadable:
    case ProblemKind::LinkNotFollowed:
      return DialogText::NotRead;
    default:
      return DialogText::NotRenamed;
  }
}

}  // namespace

QString ProblemListDialog::ListText(const std::vector<Problem>& problems, int languageIndex) {
  QString text;
  for (DialogText group :
       {DialogText::NotRenamed, DialogText::RenamedNotMoved, DialogText::NotRead}) {
    QString lines;
    qsizetype count = 0;
    for (const Problem& problem : problems) {
      if (Group(problem.kind) != group) continue;
      ++count;
      lines += QStringLiteral("    ") + QString::fromStdString(problem.path) +
               QStringLiteral(": ") + QString::fromStdString(problem.reason) + QLatin1Char('\n');
    }
    if (count > 0) {
      text += DialogCaption(group, languageIndex) + QStringLiteral(" (%1)\n").arg(count) + lines;
    }
  }
  return text;
}

ProblemListDialog::ProblemListDialog(const std::vector<Problem>& problems, int languageIndex,
                                     QWidget* owner)
    : QDialog(owner), text_(ListText(problems, languageIndex)) {
  setWindowTitle(DialogCaption(DialogText::ProblemsTitle, languageIndex));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      DialogCaption(DialogText::ProblemsCount, languageIndex).arg(problems.size()), this));
  auto* list = new QPlainTextEdit(text_, this);
  list->setReadOnly(true);
  list->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  list->setMinimumSize(640, 240);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* copy = buttons->addButton(DialogCaption(DialogText::Copy, languageIndex),
                                         QDialogButtonBox::ActionRole);
  buttons->addButton(DialogCaption(DialogText::Close, languageIndex), QDialogButtonBox::RejectRole);
  connect(copy, &QPushButton::clicked, this, &ProblemListDialog::CopyToClipboard);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void ProblemListDialog::CopyToClipboard() {
  QGuiApplication::clipboard()->setText(text_);
}

}  // namespace tessaly
