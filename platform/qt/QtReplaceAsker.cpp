#include "platform/qt/QtReplaceAsker.h"

#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

namespace tessaly {
namespace {

QString Describe(const QString& facts, const QString& path) {
  QFileInfo info(path);
  return facts.arg(path, QLocale().toString(info.size()),
                   QLocale().toString(info.lastModified(), QLocale::ShortFormat));
}

}  // namespace

ReplaceChoice QtReplaceAsker::Ask(const ReplaceQuestionWords& words, const QString& picturePath,
                                  const QString& existingPath) {
  QMessageBox box(QMessageBox::Question, words.title,
                  words.question.arg(QFileInfo(existingPath).fileName(),
                                     Describe(words.fileFacts, existingPath),
                                     Describe(words.fileFacts, picturePath)),
                  QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll,
                  owner_);
  box.button(QMessageBox::Yes)->setText(words.yes);
  box.button(QMessageBox::No)->setText(words.no);
  box.button(QMessageBox::YesToAll)->setText(words.yesToAll);
  box.button(QMessageBox::NoToAll)->setText(words.noToAll);
  box.setDefaultButton(QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return ReplaceChoice::Yes;
    case QMessageBox::YesToAll:
      return ReplaceChoice::YesToAll;
    case QMessageBox::NoToAll:
      return ReplaceChoice::NoToAll;
    default:
      return ReplaceChoice::No;
  }
}

}  // namespace tessaly
