#include "ui/Form1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QListView>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>

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

// The desktop, as the tests answer it.
struct ScriptedDialog final : FileDialog {
  std::deque<QString> answers;  // an empty answer is a cancel
  QString title, filter, fileName;
  void SetTitle(const QString& t) override { title = t; }
  void SetFilter(const QString& f) override { filter = f; }
  void ShowOpen() override {
    if (!answers.empty() && !answers.front().isEmpty()) fileName = answers.front();
    if (!answers.empty()) answers.pop_front();
  }
  QString FileName() const override { return fileName; }
};
struct ScriptedViewer final : Viewer {
  std::vector<QString> opened;
  void Open(const QString& path) override { opened.push_back(path); }
};
struct ScriptedAsker final : ReplaceAsker {
  std::deque<ReplaceChoice> answers;
  int asked = 0;
  ReplaceChoice Ask(const QString&, const QString&) override {
    return ++asked <= static_cast<int>(answers.size())
               ? answers[static_cast<std::size_t>(asked - 1)]
               : ReplaceChoice::No;
  }
};
struct RecordingMessages final : WindowMessages {
  std::vector<QString> errors;
  std::vector<std::vector<Problem>> problemLists;
  void ShowError(const QString& title, const QString& text) override {
    errors.push_back(title + ": " + text);
  }
  void ShowProblems(const std::vector<Problem>& problems) override {
    problemLists.push_back(problems);
  }
};

struct Window {
  test::TempTree tree, listDir;
  test::FaultyFileSystem fs;
  ScriptedDialog dialog;
  ScriptedViewer viewer;
  ScriptedAsker asker;
  RecordingMessages messages;
  std::unique_ptr<Form1> form;

  explicit Window(std::string listPath = "") {
    RenameListPlace place{listPath.empty() ? listDir.PathOf("Rename_List.TXT") : listPath, "", ""};
    form = std::make_unique<Form1>(fs, WindowServices{&dialog, &viewer, &asker, &messages}, place);
    form->SetFrameInterval(0);
    form->show();
  }
  template <typename T = QWidget>
  T* Control(const char* name) const {
    return form->findChild<T*>(QString::fromLatin1(name));
  }
  QString TextOf(const char* name) const {
    if (auto* label = Control<QLabel>(name)) return label->text();
    return Control<QPushButton>(name)->text();
  }
  void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }
  void Tick(const char* box, bool on) { Control<QCheckBox>(box)->setChecked(on); }
  void Choose(const std::string& file) {
    dialog.answers.push_back(QString::fromStdString(file));
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

TEST(Form1Test, StartsInEnglishAndTheLanguageButtonSwitchesEveryCaptionAndNothingElse) {
  Window w;
  EXPECT_EQ(w.Enabling(), "10101");
  EXPECT_TRUE(w.Control<QCheckBox>("Check1")->isChecked());
  EXPECT_FALSE(w.Control<QCheckBox>("Check2")->isChecked() ||
               w.Control<QCheckBox>("Check3")->isChecked());
  for (const char* value : {"Label2", "Label3", "Label4", "Label6", "Label9", "Label12"}) {
    EXPECT_EQ(w.TextOf(value), "") << value;
  }
  w.Choose("/photos/IMG_0001.JPG");
  for (int click = 0; click <= 4; ++click) {
    if (click > 0) w.Click("Command5");
    for (const auto& row : kCaptions) {
      EXPECT_EQ(w.TextOf(row[0]).toStdString(), row[1 + click % 2]) << row[0] << " " << click;
    }
    EXPECT_EQ(w.TextOf("Label2"), "/photos/");
    EXPECT_EQ(w.form->windowTitle(), "Brannock's Tessaly V2.1");
    EXPECT_EQ(w.Enabling(), "11101") << "enabled states stay";
  }
}

TEST(Form1Test, EveryCaptionFitsItsControlInBothLanguages) {
  Window w;
  for (int language = 1; language <= 2; ++language) {
    for (const auto& row : kCaptions) {
      QWidget* control = w.Control(row[0]);
      QFontMetrics metrics(control->font());
      QString caption = QString::fromUtf8(row[language]);
      int room = control->width() - (qobject_cast<QPushButton*>(control) ? 6 : 0);
      EXPECT_LE(metrics.horizontalAdvance(caption), room) << row[language];
      // The line is centred in the control; what must fit is the ink.
      QRect ink = metrics.tightBoundingRect(caption);
      int baseline = (control->height() - metrics.height()) / 2 + metrics.ascent();
      EXPECT_GE(baseline + ink.top(), 0) << row[language];
      EXPECT_LE(baseline + ink.bottom(), control->height()) << row[language];
    }
  }
}

TEST(Form1Test, ChoosingAFileSelectsItsDirectoryACancelKeepsItAndStillEnablesStart) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.Choose("");  // the first dialog cancelled: Start comes on and does nothing
  EXPECT_EQ(w.Enabling(), "11101");
  w.Click("Command2");
  EXPECT_TRUE(w.tree.IsFile("IMG_0001.JPG"));
  EXPECT_FALSE(w.listDir.IsFile("Rename_List.TXT"));
  w.Choose("/photos/trip/IMG_0001.JPG");
  EXPECT_EQ(w.dialog.title, "點選任一檔案");
  EXPECT_EQ(w.dialog.filter, "Design Files (*.*)");
  EXPECT_EQ(w.form->SelectedDirectory(), "/photos/trip/");
  EXPECT_EQ(w.TextOf("Label2"), "/photos/trip/");
  w.Choose("");
  EXPECT_EQ(w.form->SelectedDirectory(), "/photos/trip/");
}

TEST(Form1Test, ARunLocksFourButtonsShowsProgressAndItsListCanBeViewed) {
  Window w;
  w.Tick("Check2", true);
  w.tree.Write("IMG_0001.JPG", Pic("2009:08:12 12:07:41"));
  w.tree.Write("IMG_0002.JPG", Pic("2010:01:01 00:00:00"));
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  std::set<std::string> enabling;
  std::vector<QString> names;
  QObject::connect(w.form.get(), &Form1::HandedOver, [&] {
    enabling.insert(w.Enabling() + (w.Enabled("Check1") && w.Enabled("Check3") ? "+" : "-"));
    names.push_back(w.TextOf("Label6"));
  });
  w.Click("Command2");
  EXPECT_EQ(enabling, std::set<std::string>{"00001+"});
  EXPECT_NE(std::find(names.begin(), names.end(), "ACME-2009-08-12-120741.JPG"), names.end());
  EXPECT_EQ(w.Enabling(), "11111");
  EXPECT_EQ(w.TextOf("Label12"), "4");
  EXPECT_TRUE(w.tree.IsFile("2009-08-12/ACME-2009-08-12-120741.JPG"));
  EXPECT_EQ(w.TextOf("Label2").toStdString(), w.tree.PathOf("2010-01-01/"))
      << "the last directory walked stays shown";
  EXPECT_TRUE(w.messages.problemLists.empty()) << "a run without problems shows nothing more";
  w.Click("Command4");
  EXPECT_EQ(w.viewer.opened,
            std::vector{QString::fromStdString(w.listDir.PathOf("Rename_List.TXT"))});
  std::filesystem::remove(w.listDir.PathOf("Rename_List.TXT"));
  w.Click("Command4");
  EXPECT_EQ(w.viewer.opened.size(), 1u) << "nothing happens when the list is gone";
}

TEST(Form1Test, TheLabelsShowTheEndOfEachRunAndTheCountGoesOn) {
  Window w;
  w.form->SetFrameInterval(1'000'000);  // no painting during the run
  w.Tick("Check1", false);
  w.Tick("Check3", true);
  w.tree.Write("a/IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.tree.Write("b/IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
  for (const char* directory : {"a", "b"}) {
    w.Choose(w.tree.PathOf(std::string(directory) + "/IMG.JPG"));
    w.Click("Command2");
  }
  EXPECT_EQ(w.TextOf("Label12"), "2");
  EXPECT_EQ(w.TextOf("Label6"), "Z100-2002-02-02-020202.JPG");
  EXPECT_EQ(w.TextOf("Label9"), "IMG_0002.JPG");
  EXPECT_EQ(w.TextOf("Label3") + " " + w.TextOf("Label4"), "2002:02:02 02:02:02");
}

TEST(Form1Test, LanguageAndEventsAreHandledDuringARun) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  QString startCaption;
  bool startEnabled = true;
  QObject::connect(w.form.get(), &Form1::HandedOver, [&] {
    startCaption = w.TextOf("Command2");
    startEnabled = w.Enabled("Command2");
  });
  // Queued now, handled only when the run hands control to the event loop.
  QTimer::singleShot(0, w.form.get(), [&] { w.Click("Command5"); });
  w.form->Command2Click();
  EXPECT_EQ(startCaption, "開始");
  EXPECT_FALSE(startEnabled) << "a disabled button keeps its state when its caption changes";
  EXPECT_EQ(w.form->RenameCount(), 2) << "the run carries on";
}

TEST(Form1Test, ReplaceQuestionIsAnsweredEachWayAndToAllLastsOneRun) {
  const struct {
    const char* why;
    std::deque<ReplaceChoice> answers;
    int asked;
    bool firstReplaced, secondReplaced;
  } cases[] = {
      {"yes, then no", {ReplaceChoice::Yes, ReplaceChoice::No}, 2, true, false},
      {"no, then yes", {ReplaceChoice::No, ReplaceChoice::Yes}, 2, false, true},
      {"yes to all", {ReplaceChoice::YesToAll}, 1, true, true},
      {"no to all", {ReplaceChoice::NoToAll}, 1, false, false},
  };
  for (const auto& c : cases) {
    Window w;
    w.Tick("Check1", false);
    // Each picture meets a file of its own length under its new name.
    w.tree.Write("A.JPG", Pic("2001:01:01 01:01:01", 6000));
    w.tree.Write("2001-01-01-010101.JPG", test::Blob(6000));
    w.tree.Write("B.JPG", Pic("2002:02:02 02:02:02", 7000));
    w.tree.Write("2002-02-02-020202.JPG", test::Blob(7000));
    w.asker.answers = c.answers;
    w.Choose(w.tree.PathOf("A.JPG"));
    w.Click("Command2");
    EXPECT_EQ(w.asker.asked, c.asked) << c.why;
    EXPECT_EQ(!w.tree.IsFile("A.JPG"), c.firstReplaced) << c.why;
    EXPECT_EQ(!w.tree.IsFile("B.JPG"), c.secondReplaced) << c.why;
    std::filesystem::remove(w.tree.PathOf("A.JPG"));
    std::filesystem::remove(w.tree.PathOf("B.JPG"));
    w.tree.Write("C.JPG", Pic("2003:03:03 03:03:03", 8000));
    w.tree.Write("2003-03-03-030303.JPG", test::Blob(8000));
    w.Click("Command2");
    EXPECT_EQ(w.asker.asked, c.asked + 1) << c.why << ": the next run asks afresh";
  }
}

TEST(Form1Test, ProblemsAreListedWhenTheRunEndsAFailedMoveAtOnce) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.tree.Write("IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
  w.tree.Write("2002-02-02", "a file where the date directory would go");
  w.fs.fails["open " + w.tree.PathOf("IMG_0001.JPG")] = std::errc::permission_denied;
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  w.Click("Command2");
  ASSERT_EQ(w.messages.errors.size(), 1u);
  EXPECT_NE(w.messages.errors[0].indexOf("2002-02-02-020202.JPG"), -1);
  ASSERT_EQ(w.messages.problemLists.size(), 1u);
  QString text = ProblemListDialog::ListText(w.messages.problemLists[0]);
  EXPECT_TRUE(text.startsWith(QString::fromStdString(w.tree.PathOf("IMG_0001.JPG")) +
                              ": cannot be opened: Permission denied\n"))
      << text.toStdString();
  EXPECT_EQ(text.count('\n'), 2);
  ProblemListDialog dialog(w.messages.problemLists[0], nullptr);
  dialog.CopyToClipboard();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
}

TEST(Form1Test, AListThatCannotBeMadeIsExplainedAndTheWindowStays) {
  Window w("/nonexistent/dir/Rename_List.TXT");
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  w.Click("Command2");
  ASSERT_EQ(w.messages.errors.size(), 1u);
  EXPECT_NE(w.messages.errors[0].indexOf("/nonexistent/dir/Rename_List.TXT: No such file"), -1);
  EXPECT_TRUE(w.tree.IsFile("IMG_0001.JPG"));
  EXPECT_TRUE(w.form->isVisible());
}

TEST(Form1Test, ClosingDuringARunStopsAfterThePictureAndKeepsTheList) {
  Window w;
  w.Tick("Check1", false);
  for (char i = '1'; i <= '5'; ++i) {
    w.tree.Write(std::string("IMG_000") + i + ".JPG",
                 Pic(std::string("200") + i + ":01:01 01:01:01"));
  }
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  QObject::connect(w.form.get(), &Form1::HandedOver, [&] {
    if (w.form->RenameCount() == 1) w.form->close();
  });
  w.Click("Command2");
  EXPECT_FALSE(w.form->isVisible());
  EXPECT_FALSE(w.form->Running());
  EXPECT_EQ(test::ListLines(w.listDir.Read("Rename_List.TXT"), w.tree.Root()).size(), 1u);
}

TEST(QtFileDialogTest, TheOneFilterShowsEveryFileNamesWithoutADotIncluded) {
  test::TempTree tree;
  tree.Write("noext", "x");
  tree.Write("IMG_0001.JPG", "x");
  QtFileDialog dialog(nullptr);
  dialog.SetTitle(QStringLiteral("點選任一檔案"));
  dialog.SetFilter(QStringLiteral("Design Files (*.*)"));
  EXPECT_EQ(dialog.Dialog().nameFilters(), QStringList{"Design Files (*.*)"});
  dialog.Dialog().setDirectory(QString::fromStdString(tree.Root()));
  dialog.Dialog().show();
  auto* view = dialog.Dialog().findChild<QListView*>(QStringLiteral("listView"));
  ASSERT_NE(view, nullptr);
  auto shown = [&] {  // what the user sees: the enabled names in the file list
    QStringList names;
    QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
      QModelIndex index = model->index(row, 0, view->rootIndex());
      if (model->flags(index) & Qt::ItemIsEnabled) names << index.data().toString();
    }
    names.sort();
    return names.join(QLatin1Char(',')).toStdString();
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == "IMG_0001.JPG,noext"; }, 3000));
  EXPECT_EQ(shown(), "IMG_0001.JPG,noext");
  dialog.Dialog().hide();
}

TEST(QtReplaceAskerTest, EnterKeepsTheFileAndEveryButtonGivesItsAnswer) {
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
      if (button == QMessageBox::NoButton) {
        QTest::keyClick(box, Qt::Key_Return);
      } else {
        box->button(button)->click();
      }
    });
    EXPECT_EQ(QtReplaceAsker(nullptr).Ask("/a/IMG.JPG", "/a/2009-08-12-120741.JPG"), choice);
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
