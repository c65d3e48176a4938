#include "ui/Form1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtReplaceAsker.h"
#include "tests/support/EngineHarness.h"
#include "ui/ProblemListDialog.h"

namespace tessaly {
namespace {

using test::Pic;

// The fourteen captions as the user must see them: control, English, Chinese.
const char* const kCaptions[][3] = {
    {"Label1", "Directory :", "目     錄:"},
    {"Label5", "Picture Date :", "拍 照 日 期 :"},
    {"Label7", "Picture Time :", "拍 照 時 間 :"},
    {"Label8", "Original File Name :", "原 始 檔 案 名 稱 :"},
    {"Label10", "New File Name :", "新 檔 案 名 稱 :"},
    {"Label11", "Rename Count =", "已更名檔案數 ="},
    {"Label13", "Auto Separate Sub-Directory", "自動按拍照日期建立子目錄"},
    {"Label14", "Add Maker Name to Filename", "檔名中加入相機廠牌名稱"},
    {"Label15", "Add Model Name to Filename", "檔名中加入相機型號名稱"},
    {"Command1", "Select Directory", "選擇照片目錄"},
    {"Command2", "Start", "開始"},
    {"Command3", "Close", "結束"},
    {"Command4", "View Rename List", "檢視更名清單"},
    {"Command5", "中文", "English"},
};

// The desktop, as the tests answer it: the dialog's answers (an empty one
// cancels), the replace answers (then no), and what was shown.
struct Desktop final : FileDialog, Viewer, ReplaceAsker, WindowMessages {
  std::deque<QString> files;
  std::deque<ReplaceChoice> replies;
  QString title, filter, fileName;
  std::vector<QString> opened, errors, questionTitles;
  std::vector<std::vector<Problem>> problemLists;
  void SetTitle(const QString& t) override { title = t; }
  void SetFilter(const QString& f) override { filter = f; }
  void ShowOpen() override {
    if (!files.empty() && !files.front().isEmpty()) fileName = files.front();
    if (!files.empty()) files.pop_front();
  }
  QString FileName() const override { return fileName; }
  void Open(const QString& path) override { opened.push_back(path); }
  ReplaceChoice Ask(const ReplaceQuestionWords& words, const QString&, const QString&) override {
    questionTitles.push_back(words.title + " " + words.yesToAll);
    ReplaceChoice reply = replies.empty() ? ReplaceChoice::No : replies.front();
    if (!replies.empty()) replies.pop_front();
    return reply;
  }
  void ShowError(const QString& caption, const QString& text) override {
    errors.push_back(caption + ": " + text);
  }
  void ShowProblems(const std::vector<Problem>& problems, int) override {
    problemLists.push_back(problems);
  }
};

struct Window {
  test::TempTree tree, listDir;
  test::FaultyFileSystem fs;
  Desktop desktop;
  std::unique_ptr<Form1> form;

  explicit Window(std::string listPath = "") {
    RenameListPlace place{listPath.empty() ? listDir.PathOf("Rename_List.TXT") : listPath, "", "",
                          listDir.PathOf("journals")};
    form =
        std::make_unique<Form1>(fs, WindowServices{&desktop, &desktop, &desktop, &desktop}, place);
    form->SetFrameInterval(0);
    form->show();
  }
  template <typename T = QWidget>
  T* Control(const char* name) const {
    return form->findChild<T*>(QString::fromLatin1(name));
  }
  QString TextOf(const char* name) const {
    auto* label = Control<QLabel>(name);
    return label ? label->text() : Control<QPushButton>(name)->text();
  }
  void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }
  void Tick(const char* box, bool on) { Control<QCheckBox>(box)->setChecked(on); }
  void Choose(const std::string& file) {
    desktop.files.push_back(QString::fromStdString(file));
    Click("Command1");
  }
  bool Enabled(const char* name) const { return Control(name)->isEnabled(); }
  std::string Enabling() const {  // Command1 to Command5, as "10111"
    std::string states;
    for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5"}) {
      states += Enabled(name) ? '1' : '0';
    }
    return states;
  }
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

TEST(Form1Test, StartsInEnglishAndTheLanguageButtonSwitchesEveryCaptionAndNothingElse) {
  Window w;
  EXPECT_EQ(w.Enabling(), "10101");
  EXPECT_EQ(w.Control<QCheckBox>("Check1")->isChecked() +
                2 * w.Control<QCheckBox>("Check2")->isChecked() +
                4 * w.Control<QCheckBox>("Check3")->isChecked(),
            1);
  for (const char* value : {"Label2", "Label3", "Label4", "Label6", "Label9", "Label12"}) {
    EXPECT_EQ(w.TextOf(value), "") << value;
  }
  w.Choose("/photos/IMG_0001.JPG");
  for (int click = 0; click <= 4; ++click) {
    if (click > 0) w.Click("Command5");
    for (const auto& row : kCaptions) {
      EXPECT_EQ(w.TextOf(row[0]).toStdString(), row[1 + click % 2]) << row[0] << " " << click;
      EXPECT_TRUE(Fits(w.Control(row[0]), w.TextOf(row[0]))) << row[1 + click % 2];
    }
    EXPECT_EQ(w.TextOf("Label2"), "/photos/");
    EXPECT_EQ(w.form->windowTitle(), "Brannock's Tessaly V2.1");
    EXPECT_EQ(w.Enabling(), "11101") << "enabled states stay";
    // Qt's own texts (the file dialog's) follow the language.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:") == "Look in:", click % 2 == 0);
  }
}

// Every check box shows all four edges of its box, in both languages, ticked
// or not, at device pixel ratios 1 and 2: each edge of what was drawn is the
// box's frame (darker than its inside) but for the rounded corners, not a cut
// through the box.
TEST(Form1Test, EveryCheckBoxIsDrawnWholeInsideItsControl) {
  Window w;
  w.Tick("Check2", true);
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

TEST(Form1Test, ChoosingAFileSelectsItsDirectoryACancelKeepsItAndStillEnablesStart) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.Choose("");  // the first dialog cancelled: Start comes on and does nothing
  w.Click("Command2");
  EXPECT_EQ(w.Enabling(), "11101");
  EXPECT_EQ(w.tree.Files().size(), 1u);
  EXPECT_FALSE(w.listDir.IsFile("Rename_List.TXT"));
  w.Choose("/photos/trip/IMG_0001.JPG");
  w.Click("Command2");  // a directory that is gone: an error, and no list to view
  EXPECT_EQ(w.Enabling(), "11101");
  EXPECT_TRUE(w.desktop.errors.at(0).contains("/photos/trip/: No such file"));
  w.Choose("");
  EXPECT_EQ(w.desktop.title + " " + w.desktop.filter, "點選任一檔案 Design Files (*.*)");
  EXPECT_EQ(w.form->SelectedDirectory(), "/photos/trip/");
  EXPECT_EQ(w.TextOf("Label2"), "/photos/trip/");
}

TEST(Form1Test, ARunLocksFourButtonsHandlesEventsAndItsListCanBeViewed) {
  Window w;
  w.Tick("Check2", true);
  w.tree.Write("IMG_0001.JPG", Pic("2009:08:12 12:07:41"));
  w.tree.Write("IMG_0002.JPG", Pic("2010:01:01 00:00:00"));
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  std::set<QString> seen;  // enabled states, boxes, the Start caption, each new name
  QObject::connect(w.form.get(), &Form1::HandedOver, [&] {
    seen.insert(QString::fromStdString(w.Enabling()) +
                (w.Enabled("Check1") && w.Enabled("Check3") ? " boxes" : ""));
    seen.insert(w.TextOf("Command2"));
    seen.insert(w.TextOf("Label6"));
  });
  // Queued now, handled only when the run hands control to the event loop.
  QTimer::singleShot(0, w.form.get(), [&] { w.Click("Command5"); });
  w.Click("Command2");
  EXPECT_TRUE(seen.count("00001 boxes") && seen.count("ACME-2009-08-12-120741.JPG") &&
              seen.count("開始"));
  EXPECT_FALSE(seen.count("Start")) << "the language switched during the run";
  EXPECT_FALSE(seen.count("11111") || seen.count("11111 boxes"))
      << "no button comes back during the run";
  EXPECT_EQ(w.Enabling(), "11111");
  EXPECT_EQ(w.TextOf("Label12"), "4");
  EXPECT_TRUE(w.tree.IsFile("2009-08-12/ACME-2009-08-12-120741.JPG"));
  EXPECT_EQ(w.TextOf("Label2").toStdString(), w.tree.PathOf("2010-01-01/"))
      << "the last directory walked";
  EXPECT_TRUE(w.desktop.problemLists.empty()) << "a run without problems shows nothing more";
  // A later run whose list cannot be made (another program holds it) keeps
  // the latest list that a run made viewable.
  const std::string list = w.listDir.PathOf("Rename_List.TXT");
  int holder = open(list.c_str(), O_RDONLY);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  w.Click("Command2");
  close(holder);
  ASSERT_EQ(w.desktop.errors.size(), 1u);
  EXPECT_TRUE(w.desktop.errors[0].endsWith("沒有任何檔案被更名。")) << "in the window's language";
  w.Click("Command4");
  std::filesystem::remove(list);
  w.Click("Command4");
  EXPECT_EQ(w.desktop.opened, std::vector{QString::fromStdString(list)});
}

// The labels show the last picture of each run, though nothing was painted
// during it; the count goes on from run to run; a long value keeps its end
// in sight and is whole in its tooltip.
TEST(Form1Test, TheLabelsShowTheEndOfEachRunWithLongValuesShortenedAndTheCountGoesOn) {
  Window w;
  w.form->SetFrameInterval(1'000'000);
  w.Tick("Check2", true);
  w.Tick("Check3", true);
  w.tree.Write("a/IMG_0007.JPG", Pic("2001:01:01 01:01:01"));
  w.Choose(w.tree.PathOf("a/IMG.JPG"));
  w.Click("Command2");
  const std::string deep =
      "Pictures of the summer holiday in the mountains/day one/"
      "the long walk around the lake/";
  w.tree.Write(
      deep + "IMG_0001.JPG",
      test::CameraPicture("2009:08:12 12:07:41", "EASTMAN KODAK COMPANY",
                          "KODAK DC240 ZOOM DIGITAL CAMERA", test::Order::Intel, 6000, ""));
  w.Choose(w.tree.PathOf(deep + "IMG_0001.JPG"));
  w.Click("Command2");
  const struct {
    const char* label;
    std::string full, end;
  } cases[] = {
      {"Label6", "EASTMAN KODAK COMPANY-KODAK DC240 ZOOM DIGITAL CAMERA-2009-08-12-120741.JPG",
       "-2009-08-12-120741.JPG"},
      {"Label2", w.tree.PathOf(deep + "2009-08-12/"), "lake/2009-08-12/"},
  };
  for (const auto& c : cases) {
    auto* label = w.Control<QLabel>(c.label);
    EXPECT_TRUE(label->text().endsWith(QString::fromStdString(c.end))) << c.label;
    EXPECT_TRUE(label->text().contains(QChar(0x2026))) << c.label;
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << c.label;
    EXPECT_EQ(label->toolTip().toStdString(), c.full) << c.label;
  }
  // Met again in its date directory, each picture was counted twice.
  EXPECT_EQ(QStringList({w.TextOf("Label12"), w.TextOf("Label3"), w.TextOf("Label4")}),
            QStringList({"4", "2009:08:12", "12:07:41"}));
  EXPECT_EQ(w.Control<QLabel>("Label9")->toolTip(), w.Control<QLabel>("Label6")->toolTip());
}

TEST(Form1Test, ReplaceQuestionIsAnsweredEachWayAndToAllLastsOneRun) {
  using enum ReplaceChoice;
  const struct {
    std::deque<ReplaceChoice> replies;
    std::size_t asked;
    bool firstReplaced, secondReplaced;
    const char* words;  // the question's title and Yes to All, in the window's language
  } cases[] = {{{Yes, No}, 2, true, false, "Confirm File Replace Yes to &All"},
               {{No, Yes}, 2, false, true, "Confirm File Replace Yes to &All"},
               {{YesToAll}, 1, true, true, "確認取代檔案 全部皆是(&A)"},
               {{NoToAll}, 1, false, false, "確認取代檔案 全部皆是(&A)"}};
  for (const auto& c : cases) {
    Window w;
    if (c.words[0] != 'C') w.Click("Command5");
    w.Tick("Check1", false);
    // Each picture meets a file of its own length under its new name.
    for (const char* name : {"A.JPG", "2001-01-01-010101.JPG", "B.JPG", "2002-02-02-020202.JPG"}) {
      bool a = name[0] == 'A' || name[3] == '1';
      w.tree.Write(name, name[1] == '.' ? Pic(a ? "2001:01:01 01:01:01" : "2002:02:02 02:02:02",
                                              a ? 6000 : 7000)
                                        : test::Blob(a ? 6000 : 7000));
    }
    w.desktop.replies = c.replies;
    w.Choose(w.tree.PathOf("A.JPG"));
    w.Click("Command2");
    EXPECT_EQ(w.desktop.questionTitles.size(), c.asked);
    EXPECT_EQ(w.desktop.questionTitles[0].toStdString(), c.words);
    EXPECT_EQ(!w.tree.IsFile("A.JPG"), c.firstReplaced);
    EXPECT_EQ(!w.tree.IsFile("B.JPG"), c.secondReplaced);
    std::filesystem::remove(w.tree.PathOf("A.JPG"));
    std::filesystem::remove(w.tree.PathOf("B.JPG"));
    w.tree.Write("C.JPG", Pic("2003:03:03 03:03:03", 8000));
    w.tree.Write("2003-03-03-030303.JPG", test::Blob(8000));
    w.Click("Command2");
    EXPECT_EQ(w.desktop.questionTitles.size(), c.asked + 1) << "the next run asks afresh";
  }
}

TEST(Form1Test, ProblemsAreListedOnceWhenTheRunEndsGroupedByWhatBecameOfTheFile) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.tree.Write("IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
  w.tree.Write("IMG_0003.JPG", Pic("2003:03:03 03:03:03"));
  w.tree.Write("2002-02-02", "a file where the date directory would go");
  w.fs.fails["open " + w.tree.PathOf("IMG_0001.JPG")] = std::errc::permission_denied;
  w.fs.fails["move " + w.tree.PathOf("IMG_0003.JPG")] = std::errc::permission_denied;
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  w.Click("Command2");
  EXPECT_TRUE(w.desktop.errors.empty()) << "no box stops the run";
  ASSERT_EQ(w.desktop.problemLists.size(), 1u);
  const auto& problems = w.desktop.problemLists[0];
  // Heading, then the file of its group; the reasons are the engine's.
  const char* const headings[][2] = {
      {"Not renamed, left as they were (1)", "未更名，保持原狀 (1)"},
      {"Renamed, but not moved into the date directory (1)", "已更名，但未移入日期子目錄 (1)"},
      {"Not read (1)", "無法讀取 (1)"}};
  const char* const files[] = {"IMG_0003.JPG", "2002-02-02-020202.JPG", "IMG_0001.JPG"};
  for (int language = 0; language < 2; ++language) {
    const QStringList lines = ProblemListDialog::ListText(problems, language).split('\n');
    ASSERT_EQ(lines.size(), 7) << lines.join('|').toStdString();
    for (int group = 0; group < 3; ++group) {
      EXPECT_EQ(lines[2 * group].toStdString(), headings[group][language]);
      EXPECT_TRUE(lines[2 * group + 1].startsWith(
          "    " + QString::fromStdString(w.tree.PathOf(files[group])) + ": "))
          << lines[2 * group + 1].toStdString();
    }
  }
  ProblemListDialog dialog(problems, 1, nullptr);
  EXPECT_EQ(dialog.windowTitle(), "略過的照片");
  dialog.CopyToClipboard();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), ProblemListDialog::ListText(problems, 1));
}

TEST(Form1Test, ClosingDuringARunStopsAfterThePictureAndKeepsTheList) {
  Window w;
  w.Tick("Check1", false);
  for (char i = '1'; i <= '5'; ++i) {
    w.tree.Write(std::string("IMG_000") + i + ".JPG",
                 Pic(std::string("200") + i + ":01:01 01:01:01"));
  }
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  bool shownAfterClose = false;
  QObject::connect(w.form.get(), &Form1::HandedOver, [&] {
    if (w.form->RenameCount() == 1 && w.form->close() == false)
      shownAfterClose = w.form->isVisible();
  });
  w.Click("Command2");
  EXPECT_TRUE(shownAfterClose) << "the window stays until the run has closed its list";
  EXPECT_FALSE(w.form->isVisible() || w.form->Running());
  EXPECT_EQ(test::ListLines(w.listDir.Read("Rename_List.TXT"), w.tree.Root()).size(), 1u);
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
