#include "ui/qt/QtReplaceAsker.h"

#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

namespace tessaly {
namespace {

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString Describe(const std::string& facts, const QString& path) {
  QFileInfo info(path);
  return Text(facts).arg(path, QLocale().toString(info.size()),
                         QLocale().toString(info.lastModified(), QLocale::ShortFormat));
}

}  // namespace

ReplaceChoice QtReplaceAsker::Ask(const ReplaceQuestionWords& words, std::string_view picturePath,
                                  std::string_view existingPath) {
  const QString existing = Text(existingPath);
  QMessageBox box(QMessageBox::Question, Text(words.title),
                  Text(words.question)
                      .arg(QFileInfo(existing).fileName(), Describe(words.fileFacts, existing),
                           Describe(words.fileFacts, Text(picturePath))),
                  QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll,
                  owner_);
  box.button(QMessageBox::Yes)->setText(Text(words.yes));
  box.button(QMessageBox::No)->setText(Text(words.no));
  box.button(QMessageBox::YesToAll)->setText(Text(words.yesToAll));
  box.button(QMessageBox::NoToAll)->setText(Text(words.noToAll));
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
