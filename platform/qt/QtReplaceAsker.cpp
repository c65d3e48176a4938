#include "platform/qt/QtReplaceAsker.h"

#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>

namespace tessaly {
namespace {

QString Describe(const QString& path) {
  QFileInfo info(path);
  return QStringLiteral("%1\n    %2 bytes, modified %3")
      .arg(path, QLocale().toString(info.size()),
           QLocale().toString(info.lastModified(), QLocale::ShortFormat));
}

QString QuestionText(const QString& picturePath, const QString& existingPath) {
  return QStringLiteral(
             "This folder already contains a file named \"%1\".\n\n"
             "Would you like to replace the existing file\n%2\n\nwith this one?\n%3")
      .arg(QFileInfo(existingPath).fileName(), Describe(existingPath), Describe(picturePath));
}

}  // namespace

ReplaceChoice QtReplaceAsker::Ask(const QString& picturePath, const QString& existingPath) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm File Replace"),
                  QuestionText(picturePath, existingPath),
                  QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll,
                  owner_);
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
