#include "ui/qt/QtWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/support/EngineHarness.h"
#include "ui/qt/QtFileDialog.h"
#include "ui/qt/ReviewDialog.h"

namespace tessaly {
namespace {

// The desktop, as the tests answer it: the file the dialog gives, the files
// opened.
struct Desktop final : FileDialog, Viewer {
  QString fileName;
  QStringList opened;
  void SetTitle(const QString&) override {}
  void SetFilter(const QString&) override {}
  void ShowOpen() override {}
  QString FileName() const override { return fileName; }
  bool Open(const QString& path) override { return opened << path, true; }
};

struct Window {
  test::TempTree tree, listDir;
  test::FaultyFileSystem fs;
  Desktop desktop;
  QtWindow form{
      fs, {&desktop, &desktop}, {listDir.PathOf("Rename_List.TXT"), "", "", listDir.PathOf("j")}};

  Window() { form.show(); }
  template <typename T = QWidget>
  T* Control(std::string_view name) const {
    return form.findChild<T*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  }
  QString TextOf(std::string_view name) const {
    auto* label = Control<QLabel>(name);
    return label ? label->text() : Control<QPushButton>(name)->text();
  }
  void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }
};

// Every caption fits its control: the line is centred in it, and what must
// fit is the ink.
bool Fits(QWidget* control, const QString& caption) {
  QFontMetrics metrics(control->font());
  int room = control->width() - (qobject_cast<QPushButton*>(control) ? 6 : 0);
  QRect ink = metrics.tightBoundingRect(caption);
  int baseline = (control->height() - metrics.height()) / 2 + metrics.ascent();
  return metrics.horizontalAdvance(caption) <= room && baseline + ink.top() >= 0 &&
         baseline + ink.bottom() <= control->height();
}

// Every control is at its place under its name; the buttons and boxes reach
// the presenter; every caption fits in both languages, and Qt's own texts
// follow the language.
TEST(QtWindowTest, TheControlsAreWiredToThePresenterAndEveryCaptionFits) {
  Window w;
  EXPECT_EQ(w.form.windowTitle(), "Brannock's Tessaly V2.1");
  EXPECT_EQ(w.form.size(), QSize(558, 107));
  EXPECT_EQ(w.Control("Label6")->geometry(), QRect(104, 64, 285, 13));
  for (int click = 0; click < 2; ++click, w.Click("Command5")) {
    for (const CaptionRow& row : CaptionTable()) {
      QWidget* control = w.Control(PlaceOf(row.control).name);
      EXPECT_TRUE(Fits(control, w.TextOf(PlaceOf(row.control).name))) << row.english;
    }
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:") == "Look in:", click == 0);
  }
  EXPECT_EQ(w.TextOf("Command2"), "Start");
  w.tree.Write("IMG_0001.JPG", test::Pic("2009:08:12 12:07:41"));
  w.desktop.fileName = QString::fromStdString(w.tree.PathOf("IMG_0001.JPG"));
  w.Click("Command1");
  w.Control<QCheckBox>("Check1")->setChecked(false);
  w.Control<QCheckBox>("Check3")->setChecked(true);
  w.form.Presenter().SetFrameInterval(std::chrono::milliseconds(0));
  bool stayed = false;
  QObject::connect(&w.form, &QtWindow::HandedOver, [&] {
    if (w.form.Presenter().RenameCount() == 1) stayed = !w.form.close() && w.form.isVisible();
  });
  w.Click("Command2");
  EXPECT_TRUE(stayed) << "the window stays until the run has closed its list";
  EXPECT_FALSE(w.form.isVisible()) << "and goes then";
  EXPECT_TRUE(w.tree.IsFile("Z100-2009-08-12-120741.JPG"));
  w.Click("Command4");
  EXPECT_EQ(w.desktop.opened.size(), 1);
  // A value too long for its place keeps the part that matters in sight and
  // is whole in its tooltip.
  const std::string path =
      "/Pictures of the summer holiday in the mountains/day one/"
      "the long walk around the lake/2009-08-12/";
  const std::string name = "EASTMAN KODAK COMPANY-KODAK DC240 ZOOM-2009-08-12-120741.JPG";
  const struct {
    Control control;
    std::string full, start, end;
  } cases[] = {{Control::NewNameValue, name, "\u2026", "-2009-08-12-120741.JPG"},
               {Control::DirectoryValue, path, "/Pic", "lake/2009-08-12/"}};
  for (const auto& c : cases) {
    w.form.SetText(c.control, c.full);
    auto* label = w.Control<QLabel>(PlaceOf(c.control).name);
    EXPECT_TRUE(label->text().startsWith(QString::fromStdString(c.start)) &&
                label->text().endsWith(QString::fromStdString(c.end)));
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    EXPECT_EQ(label->toolTip().toStdString(), c.full);
  }
}

// Every check box shows all four edges of its box, in both languages, ticked
// or not, at device pixel ratios 1 and 2: each edge of what was drawn is the
// box's frame (darker than its inside) but for the rounded corners, not a cut
// through the box.
TEST(QtWindowTest, EveryCheckBoxIsDrawnWholeInsideItsControl) {
  Window w;
  w.Control<QCheckBox>("Check2")->setChecked(true);
  for (int click = 0; click < 2; ++click, w.Click("Command5")) {
    for (const char* name : {"Check1", "Check2", "Check3"}) {
      for (int ratio = 1; ratio <= 2; ++ratio) {
        auto* box = w.Control<QCheckBox>(name);
        QImage image(box->size() * ratio, QImage::Format_ARGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::magenta);
        box->render(&image, {}, {}, QWidget::DrawChildren);
        QRect drawn;
        for (int at = 0; at < image.width() * image.height(); ++at) {
          QPoint p(at % image.width(), at / image.width());
          if (image.pixel(p) != QColor(Qt::magenta).rgb()) drawn |= QRect(p, QSize(1, 1));
        }
        for (const QLine edge : {QLine(drawn.topLeft(), drawn.topRight()),
                                 QLine(drawn.bottomLeft(), drawn.bottomRight()),
                                 QLine(drawn.topLeft(), drawn.bottomLeft()),
                                 QLine(drawn.topRight(), drawn.bottomRight())}) {
          int frame = 0, length = std::max(edge.dx(), edge.dy()) + 1;
          for (int i = 0; i < length; ++i)
            frame +=
                qGray(image.pixel(edge.p1() + QPoint(edge.dy() == 0, edge.dx() == 0) * i)) < 200;
          EXPECT_GE(frame, length - 2 * ratio) << name << " ratio " << ratio << " click " << click;
        }
      }
    }
  }
}

// The menu comes by a right click beside the buttons and by the menu key, not
// by a right click on a button; it and F5 and Ctrl+Z reach the presenter.
TEST(QtWindowTest, TheMenuAndItsShortcutsReachThePresenter) {
  Window w;
  w.tree.Write("IMG_0001.JPG", test::Pic("2009:08:12 12:07:41"));
  w.desktop.fileName = QString::fromStdString(w.tree.PathOf("IMG_0001.JPG"));
  w.Click("Command1");
  QStringList seen;  // what each gesture brought up, closed again
  auto expect = [&](auto gesture) {
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
      QWidget* shown = QApplication::activePopupWidget();
      if (auto* menu = qobject_cast<QMenu*>(shown)) {
        for (QAction* entry : menu->actions())
          seen << entry->text() + (entry->isEnabled() ? "" : "-");
      } else if (auto* review = dynamic_cast<ReviewDialog*>(QApplication::activeModalWidget())) {
        seen << review->windowTitle(), shown = review;
      }
      if (shown) shown->close();
    });
    look.start(5);
    gesture();
    QTest::qWait(50);
  };
  auto menuBy = [&](const char* control, QContextMenuEvent::Reason reason) {
    return [&w, control, reason] {
      QContextMenuEvent event(reason, {2, 2}, w.Control(control)->mapToGlobal(QPoint(2, 2)));
      QApplication::sendEvent(w.Control(control), &event);
    };
  };
  expect(menuBy("Label6", QContextMenuEvent::Mouse));
  expect(menuBy("Command2", QContextMenuEvent::Mouse));
  expect(menuBy("Command1", QContextMenuEvent::Keyboard));
  auto key = [&](Qt::Key pressed, Qt::KeyboardModifiers modifiers) {
    return [&w, pressed, modifiers] {
      w.form.activateWindow();  // a menu closed leaves no window active offscreen
      ASSERT_TRUE(QTest::qWaitForWindowActive(&w.form));
      QTest::keyClick(&w.form, pressed, modifiers);
    };
  };
  expect(key(Qt::Key_Z, Qt::ControlModifier));
  expect(key(Qt::Key_F5, {}));
  w.Click("Command2");
  expect(key(Qt::Key_Z, Qt::ControlModifier));
  const QString menu = "Preview…|Undo Last Run…-|Open Journal Folder";
  EXPECT_EQ(seen.join(QLatin1Char('|')).toStdString(),
            (menu + "|" + menu + "|Preview: what Start would do|Undo Last Run").toStdString());
}

TEST(QtFileDialogTest, TheOneFilterShowsEveryFileNamesWithoutADotIncluded) {
  test::TempTree tree;
  tree.Write("noext", "x");
  tree.Write("IMG_0001.JPG", "x");
  QtFileDialog dialog(nullptr);
  dialog.SetFilter(QStringLiteral("Design Files (*.*)"));
  dialog.Dialog().setDirectory(QString::fromStdString(tree.Root()));
  dialog.Dialog().show();
  auto* view = dialog.Dialog().findChild<QListView*>(QStringLiteral("listView"));
  ASSERT_NE(view, nullptr);
  auto shown = [&] {  // what the user sees: the enabled names in the file list
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
      QModelIndex index = view->model()->index(row, 0, view->rootIndex());
      if (view->model()->flags(index) & Qt::ItemIsEnabled) names << index.data().toString();
    }
    names.sort();
    return names.join(QLatin1Char(','));
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == "IMG_0001.JPG,noext"; }, 3000))
      << shown().toStdString();
  EXPECT_EQ(dialog.Dialog().nameFilters(), QStringList{"Design Files (*.*)"});
}

// Return on a typed path accepts the dialog while its completion list is
// open; that list must not stay behind to swallow the next click.
TEST(QtFileDialogTest, ADialogAcceptedWithItsCompletionListOpenLeavesNoPopup) {
  test::TempTree tree;
  tree.Write("IMG_0001.JPG", "x");
  tree.Write("IMG_0002.JPG", "x");
  QtFileDialog dialog(nullptr);
  dialog.Dialog().setDirectory(QString::fromStdString(tree.Root()));
  QTimer::singleShot(0, [&] {
    auto* edit = dialog.Dialog().findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    edit->setText(QString::fromStdString(tree.PathOf("IMG_000")));
    EXPECT_TRUE(QTest::qWaitFor(
        [edit] {
          edit->completer()->setCompletionPrefix(edit->text());
          edit->completer()->complete();
          return QApplication::activePopupWidget() != nullptr;
        },
        3000));
    static_cast<QDialog&>(dialog.Dialog()).done(QDialog::Accepted);  // as Return does
  });
  dialog.ShowOpen();
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(QtReplaceAskerTest, EnterKeepsTheFileAndEveryButtonGivesItsAnswerInTheWordsGiven) {
  const std::pair<QMessageBox::StandardButton, ReplaceChoice> cases[] = {
      {QMessageBox::NoButton, ReplaceChoice::No},  // Enter: the default button
      {QMessageBox::Yes, ReplaceChoice::Yes},
      {QMessageBox::YesToAll, ReplaceChoice::YesToAll},
      {QMessageBox::NoToAll, ReplaceChoice::NoToAll},
  };
  for (const auto& [button, choice] : cases) {
    QTimer::singleShot(0, [button = button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle() + box->button(QMessageBox::NoToAll)->text(), "t4");
      EXPECT_TRUE(box->text().startsWith("2009-08-12-120741.JPG? /a/2009-08-12-120741.JPG "));
      button == QMessageBox::NoButton ? QTest::keyClick(box, Qt::Key_Return)
                                      : box->button(button)->click();
    });
    const ReplaceQuestionWords words{"t", "%1? %2 %3", "%1 %2 %3", "1", "2", "3", "4"};
    EXPECT_EQ(QtReplaceAsker(nullptr).Ask(words, "/a/IMG.JPG", "/a/2009-08-12-120741.JPG"), choice);
  }
}

}  // namespace
}  // namespace tessaly

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
