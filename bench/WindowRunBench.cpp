// window_run_bench DIR LIST [--no-subdir] [--preview] [--screenshots OUT]
// Times one run started from the window (Select Directory on a file of DIR,
// then Start) on the real file system, with the window shown and painting.
// Prints the seconds the run took and the count. With --screenshots, the
// maker and model boxes are ticked and the window is grabbed in the middle of the run in
// English and then in Chinese, as OUT/window-en.png and OUT/window-zh.png,
// and the replace question in Chinese as OUT/replace-zh.png (the README's
// pictures).
// With --preview, times the window's preview of DIR instead, up to its
// dialog, with the longest wait between two hand-overs (how long a click
// may wait) and the peak resident memory; with --screenshots the dialog is
// saved as OUT/preview-en.png.

#include <sys/resource.h>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "platform/posix/PosixFileSystem.h"
#include "ui/CaptionTable.h"
#include "ui/qt/QtReplaceAsker.h"
#include "ui/qt/QtWindow.h"

namespace {

class Answer final : public tessaly::FileDialog {
 public:
  explicit Answer(QString file) : file_(std::move(file)) {}
  void SetTitle(const QString&) override {}
  void SetFilter(const QString&) override {}
  void ShowOpen() override {}
  QString FileName() const override { return file_; }

 private:
  QString file_;
};

class NoViewer final : public tessaly::Viewer {
 public:
  bool Open(const QString&) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: window_run_bench DIR LIST [--no-subdir]\n");
    return 2;
  }
  QApplication application(argc, argv);
  tessaly::PosixFileSystem fileSystem;
  Answer dialog(QString::fromUtf8(argv[1]) + QStringLiteral("/any.JPG"));
  NoViewer viewer;
  tessaly::RenameListPlace place;
  place.explicitPath = argv[2];
  tessaly::QtWindow window(fileSystem, {&dialog, &viewer}, place);
  window.show();
  QString screenshots;
  bool preview = false;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--preview") == 0) {
      preview = true;
    } else if (std::strcmp(argv[i], "--no-subdir") == 0) {
      window.findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(false);
    } else if (std::strcmp(argv[i], "--screenshots") == 0 && i + 1 < argc) {
      screenshots = QString::fromUtf8(argv[++i]);
      window.Presenter().SetFrameInterval(std::chrono::milliseconds(0));
      window.findChild<QCheckBox*>(QStringLiteral("Check2"))->setChecked(true);
      window.findChild<QCheckBox*>(QStringLiteral("Check3"))->setChecked(true);
    }
  }
  int grabbed = 0;
  QObject::connect(&window, &tessaly::QtWindow::HandedOver, [&] {
    auto* count = window.findChild<QLabel*>(QStringLiteral("Label12"));
    if (screenshots.isEmpty() || grabbed == 2 || count->text() != QStringLiteral("2")) return;
    if (grabbed == 1) window.findChild<QPushButton*>(QStringLiteral("Command5"))->click();
    const char* name = grabbed++ == 0 ? "/window-en.png" : "/window-zh.png";
    window.grab().save(screenshots + QString::fromLatin1(name));
  });
  QApplication::processEvents();
  window.Presenter().SelectDirectory();
  QElapsedTimer timer;
  timer.start();
  if (preview) {
    QElapsedTimer sinceHandOver;
    qint64 longestWait = 0, shownAfter = 0;
    QObject::connect(&window, &tessaly::QtWindow::HandedOver,
                     [&] { longestWait = std::max(longestWait, sinceHandOver.restart()); });
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      QWidget* review = QApplication::activeModalWidget();
      if (review == nullptr) return;
      shownAfter = timer.elapsed();
      if (!screenshots.isEmpty())
        review->grab().save(screenshots + QStringLiteral("/preview-en.png"));
      review->close();
    });
    closer.start(50);
    sinceHandOver.start();
    window.Presenter().Preview();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "preview shown after %.3f s, longest wait between hand-overs %lld ms, peak %ld MB\n",
        static_cast<double>(shownAfter) / 1e3, static_cast<long long>(longestWait),
        usage.ru_maxrss / 1024);
    return 0;
  }
  window.Presenter().Start();
  double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  std::printf("%.3f s, Rename Count = %lld\n", seconds,
              static_cast<long long>(window.Presenter().RenameCount()));
  if (!screenshots.isEmpty()) {
    // The question as the window asks it in Chinese, about two of the
    // pictures just renamed.
    QDir first(QString::fromUtf8(argv[1]));
    const QStringList dates = first.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QDir date(first.filePath(dates.value(0)));
    const QStringList names = date.entryList(QDir::Files, QDir::Name);
    QTimer::singleShot(300, [&] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        box->grab().save(screenshots + QStringLiteral("/replace-zh.png"));
        box->close();
      }
    });
    window.Presenter().SwitchLanguage();
    window.Presenter().AskReplace(
        {date.filePath(names.value(0)).toStdString(), date.filePath(names.value(1)).toStdString()});
  }
  return 0;
}
