#include "ui/Form1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>

#include "platform/qt/QtFileDialog.h"
#include "tests/support/EngineHarness.h"
#include "tests/support/FaultyFileSystem.h"
#include "ui/CaptionTable.h"
#include "ui/ProblemListDialog.h"

namespace tessaly {
namespace {

using test::Pic;

// The desktop, as the tests answer it.
class ScriptedDialog final : public FileDialog {
 public:
  std::deque<QString> answers;  // an empty answer is a cancel
  QString title, filter;
  int shown = 0;
  void SetTitle(const QString& t) override { title = t; }
  void SetFilter(const QString& f) override { filter = f; }
  void ShowOpen() override {
    ++shown;
    if (answers.empty()) return;
    QString answer = answers.front();
    answers.pop_front();
    if (!answer.isEmpty()) fileName_ = answer;
  }
  QString FileName() const override { return fileName_; }

 private:
  QString fileName_;
};

class ScriptedViewer final : public Viewer {
 public:
  std::vector<QString> opened;
  void Open(const QString& path) override { opened.push_back(path); }
};

class ScriptedAsker final : public ReplaceAsker {
 public:
  std::deque<ReplaceChoice> answers;
  int asked = 0;
  ReplaceChoice Ask(const QString&, const QString&) override {
    ++asked;
    ReplaceChoice c = answers.empty() ? ReplaceChoice::No : answers.front();
    if (!answers.empty()) answers.pop_front();
    return c;
  }
};

class RecordingMessages final : public WindowMessages {
 public:
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

  Window() {
    RenameListPlace place;
    place.explicitPath = listDir.PathOf("Rename_List.TXT");
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
  void Choose(const std::string& file) {
    dialog.answers.push_back(QString::fromStdString(file));
    Click("Command1");
  }
  bool Enabled(const char* name) const { return Control(name)->isEnabled(); }
};

// --- Layout ---------------------------------------------------------------

struct ControlRow {
  const char* name;
  int left, top, width, height;  // twips
  int tabIndex;
};

const ControlRow kControls[] = {
    {"Label1", 60, 60, 795, 195, 0},        {"Label2", 900, 60, 7395, 195, 1},
    {"Label5", 540, 360, 975, 195, 7},      {"Label3", 1560, 360, 1335, 195, 5},
    {"Label7", 3360, 360, 1035, 195, 9},    {"Label4", 4440, 360, 1335, 195, 6},
    {"Check1", 5940, 360, 195, 195, 16},    {"Label13", 6180, 360, 2175, 195, 17},
    {"Label8", 60, 660, 1455, 195, 10},     {"Label9", 1560, 660, 4335, 195, 11},
    {"Check2", 5940, 600, 195, 180, 18},    {"Label14", 6180, 600, 2175, 195, 19},
    {"Label10", 300, 960, 1215, 195, 12},   {"Label6", 1560, 960, 4275, 195, 8},
    {"Check3", 5940, 840, 195, 195, 20},    {"Label15", 6180, 840, 2175, 195, 21},
    {"Command1", 60, 1260, 1575, 315, 2},   {"Command2", 1740, 1260, 675, 315, 3},
    {"Label11", 2520, 1320, 1275, 195, 13}, {"Label12", 3840, 1320, 1095, 195, 14},
    {"Command5", 4980, 1260, 735, 315, 22}, {"Command4", 5820, 1260, 1575, 315, 15},
    {"Command3", 7500, 1260, 855, 315, 4},
};

TEST(Form1Test, EveryControlStandsWhereTheLayoutSays) {
  Window w;
  EXPECT_EQ(w.form->size(), QSize(558, 107));
  EXPECT_EQ(w.form->minimumSize(), w.form->maximumSize()) << "the window does not resize";
  for (const ControlRow& row : kControls) {
    QWidget* control = w.Control(row.name);
    ASSERT_NE(control, nullptr) << row.name;
    EXPECT_EQ(control->geometry(),
              QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15))
        << row.name;
  }
}

TEST(Form1Test, TabGoesThroughTheControlsInTheirOrder) {
  Window w;
  std::vector<const ControlRow*> focusable;
  for (const ControlRow& row : kControls) {
    if (w.Control(row.name)->focusPolicy() & Qt::TabFocus) focusable.push_back(&row);
  }
  std::sort(focusable.begin(), focusable.end(),
            [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
  ASSERT_EQ(focusable.size(), 8u);
  QWidget* widget = w.Control(focusable.front()->name);
  for (std::size_t i = 1; i < focusable.size(); ++i) {
    widget = widget->nextInFocusChain();
    while (!(widget->focusPolicy() & Qt::TabFocus))
      widget = widget->nextInFocusChain();
    EXPECT_EQ(widget->objectName().toStdString(), focusable[i]->name);
  }
}

TEST(Form1Test, EveryCaptionFitsItsControlInBothLanguages) {
  Window w;
  for (int language = 0; language < 2; ++language) {
    for (const CaptionRow& row : CaptionTable()) {
      QWidget* control = w.Control(std::string(row.control).c_str());
      QFontMetrics metrics(control->font());
      QString caption = QString::fromUtf8(
          language == 0 ? row.english.data() : row.chinese.data(),
          static_cast<qsizetype>(language == 0 ? row.english.size() : row.chinese.size()));
      int room = control->width() - (qobject_cast<QPushButton*>(control) ? 6 : 0);
      EXPECT_LE(metrics.horizontalAdvance(caption), room) << row.control << " " << language;
      // The line is centred in the control; what must fit is the ink.
      QRect ink = metrics.tightBoundingRect(caption);
      int baseline = (control->height() - metrics.height()) / 2 + metrics.ascent();
      EXPECT_GE(baseline + ink.top(), 0) << row.control << " " << language;
      EXPECT_LE(baseline + ink.bottom(), control->height()) << row.control << " " << language;
    }
  }
}

// --- Start-up, directory choice, language ------------------------------------

TEST(Form1Test, StartsInEnglishWithStartAndListDisabled) {
  Window w;
  EXPECT_EQ(w.form->windowTitle(), "Brannock's Tessaly V2.1");
  EXPECT_TRUE(w.Control<QCheckBox>("Check1")->isChecked());
  EXPECT_FALSE(w.Control<QCheckBox>("Check2")->isChecked());
  EXPECT_FALSE(w.Control<QCheckBox>("Check3")->isChecked());
  const std::pair<const char*, bool> enabled[] = {{"Command1", true},
                                                  {"Command2", false},
                                                  {"Command3", true},
                                                  {"Command4", false},
                                                  {"Command5", true}};
  for (const auto& [name, on] : enabled)
    EXPECT_EQ(w.Enabled(name), on) << name;
  for (const CaptionRow& row : CaptionTable()) {
    EXPECT_EQ(w.TextOf(std::string(row.control).c_str()).toStdString(), row.english);
  }
  for (const char* value : {"Label2", "Label3", "Label4", "Label6", "Label9", "Label12"}) {
    EXPECT_EQ(w.TextOf(value), "") << value;
  }
  EXPECT_EQ(w.form->RenameCount(), 0);
}

TEST(Form1Test, ChoosingAFileSelectsItsDirectory) {
  Window w;
  w.Choose("/photos/trip/IMG_0001.JPG");
  EXPECT_EQ(w.dialog.title, "點選任一檔案");
  EXPECT_EQ(w.dialog.filter, "Design Files (*.*)");
  EXPECT_EQ(w.form->SelectedDirectory(), "/photos/trip/");
  EXPECT_EQ(w.TextOf("Label2"), "/photos/trip/");
  EXPECT_TRUE(w.Enabled("Command2"));
  w.Choose("");  // cancelled: the previous choice stays
  EXPECT_EQ(w.form->SelectedDirectory(), "/photos/trip/");
  EXPECT_EQ(w.dialog.shown, 2);
}

TEST(Form1Test, CancelledFirstDialogStillEnablesStartWhichDoesNothing) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.Choose("");
  EXPECT_EQ(w.form->SelectedDirectory(), "");
  EXPECT_EQ(w.TextOf("Label2"), "");
  EXPECT_TRUE(w.Enabled("Command2"));
  w.Click("Command2");
  EXPECT_TRUE(w.tree.IsFile("IMG_0001.JPG"));
  EXPECT_FALSE(w.listDir.IsFile("Rename_List.TXT"));
  EXPECT_FALSE(w.Enabled("Command4"));
}

TEST(Form1Test, LanguageButtonSwitchesEveryCaptionAndBack) {
  Window w;
  w.Choose("/photos/IMG_0001.JPG");
  for (int click = 1; click <= 4; ++click) {
    w.Click("Command5");
    bool chinese = click % 2 == 1;
    EXPECT_EQ(w.form->LanguageIndex(), chinese ? 1 : 0);
    for (const CaptionRow& row : CaptionTable()) {
      EXPECT_EQ(w.TextOf(std::string(row.control).c_str()).toStdString(),
                chinese ? row.chinese : row.english);
    }
    EXPECT_EQ(w.TextOf("Label2"), "/photos/");
    EXPECT_EQ(w.form->windowTitle(), "Brannock's Tessaly V2.1");
    EXPECT_FALSE(w.Enabled("Command4")) << "enabled states stay";
  }
}

// --- Runs -------------------------------------------------------------------

TEST(Form1Test, WholeRunShowsProgressAndGivesTheButtonsBack) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2009:08:12 12:07:41"));
  w.tree.Write("IMG_0002.JPG", Pic("2010:01:01 00:00:00"));
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  struct Seen {
    bool commandsDisabled, languageEnabled, boxesEnabled;
    QString directory, newName, count;
  };
  std::vector<Seen> seen;
  QObject::connect(w.form.get(), &Form1::HandedOver, [&] {
    seen.push_back({!w.Enabled("Command1") && !w.Enabled("Command2") && !w.Enabled("Command3") &&
                        !w.Enabled("Command4"),
                    w.Enabled("Command5"),
                    w.Enabled("Check1") && w.Enabled("Check2") && w.Enabled("Check3"),
                    w.TextOf("Label2"), w.TextOf("Label6"), w.TextOf("Label12")});
  });
  w.Click("Command2");
  ASSERT_FALSE(seen.empty());
  for (const Seen& s : seen) {
    EXPECT_TRUE(s.commandsDisabled);
    EXPECT_TRUE(s.languageEnabled);
    EXPECT_TRUE(s.boxesEnabled);
  }
  EXPECT_EQ(seen.front().directory.toStdString(), w.tree.Root());
  bool sawName = false;
  for (const Seen& s : seen)
    sawName = sawName || s.newName == "2009-08-12-120741.JPG";
  EXPECT_TRUE(sawName);
  for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5"}) {
    EXPECT_TRUE(w.Enabled(name)) << name;
  }
  EXPECT_EQ(w.TextOf("Label12"), "4");
  EXPECT_TRUE(w.tree.IsFile("2009-08-12/2009-08-12-120741.JPG"));
  EXPECT_TRUE(w.tree.IsFile("2010-01-01/2010-01-01-000000.JPG"));
  EXPECT_EQ(w.TextOf("Label2").toStdString(), w.tree.PathOf("2010-01-01/"))
      << "the last directory walked stays shown";
  EXPECT_TRUE(w.messages.problemLists.empty()) << "a run without problems shows nothing more";

  w.Click("Command4");
  ASSERT_EQ(w.viewer.opened.size(), 1u);
  EXPECT_EQ(w.viewer.opened[0].toStdString(), w.listDir.PathOf("Rename_List.TXT"));
  std::filesystem::remove(w.listDir.PathOf("Rename_List.TXT"));
  w.Click("Command4");
  EXPECT_EQ(w.viewer.opened.size(), 1u) << "nothing happens when the list is gone";
}

TEST(Form1Test, CountGoesOnAcrossRuns) {
  Window w;
  w.form->findChild<QCheckBox*>("Check1")->setChecked(false);
  w.tree.Write("a/IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.tree.Write("b/IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
  w.Choose(w.tree.PathOf("a/IMG_0001.JPG"));
  w.Click("Command2");
  EXPECT_EQ(w.TextOf("Label12"), "1");
  w.Choose(w.tree.PathOf("b/IMG_0002.JPG"));
  w.Click("Command2");
  EXPECT_EQ(w.TextOf("Label12"), "2");
  EXPECT_EQ(w.form->RenameCount(), 2);
}

TEST(Form1Test, LanguageCanBeSwitchedDuringARun) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.tree.Write("IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  bool switched = false;
  QString startCaption, directoryShown;
  bool startEnabled = true;
  QObject::connect(w.form.get(), &Form1::HandedOver, [&] {
    if (switched || w.TextOf("Label6").isEmpty()) return;
    w.Click("Command5");
    switched = true;
    startCaption = w.TextOf("Command2");
    startEnabled = w.Enabled("Command2");
    directoryShown = w.TextOf("Label2");
  });
  w.Click("Command2");
  ASSERT_TRUE(switched);
  EXPECT_EQ(startCaption, "開始");
  EXPECT_FALSE(startEnabled) << "a disabled button keeps its state when its caption changes";
  EXPECT_EQ(directoryShown.toStdString(), w.tree.Root());
  EXPECT_EQ(w.form->RenameCount(), 4) << "the run carries on";
  EXPECT_EQ(w.TextOf("Command2"), "開始");
}

TEST(Form1Test, WindowEventsAreHandledDuringARun) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  bool firedDuringRun = false;
  // Queued now, handled only when the run hands control to the event loop.
  QTimer::singleShot(0, w.form.get(), [&] {
    firedDuringRun = w.form->Running();
    w.Click("Command5");
  });
  w.form->Command2Click();
  EXPECT_TRUE(firedDuringRun);
  EXPECT_EQ(w.form->LanguageIndex(), 1);
}

TEST(Form1Test, ReplaceQuestionIsAnsweredEachWay) {
  struct Case {
    const char* name;
    std::deque<ReplaceChoice> answers;
    int asked;
    bool firstReplaced, secondReplaced;
  };
  const Case cases[] = {
      {"YesThenNo", {ReplaceChoice::Yes, ReplaceChoice::No}, 2, true, false},
      {"NoThenYes", {ReplaceChoice::No, ReplaceChoice::Yes}, 2, false, true},
      {"YesToAll", {ReplaceChoice::YesToAll}, 1, true, true},
      {"NoToAll", {ReplaceChoice::NoToAll}, 1, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Window w;
    w.form->findChild<QCheckBox*>("Check1")->setChecked(false);
    // Each picture meets a file of its own length under its new name.
    w.tree.Write("A.JPG", Pic("2001:01:01 01:01:01", 6000));
    w.tree.Write("2001-01-01-010101.JPG", test::Blob(6000));
    w.tree.Write("B.JPG", Pic("2002:02:02 02:02:02", 7000));
    w.tree.Write("2002-02-02-020202.JPG", test::Blob(7000));
    w.asker.answers = c.answers;
    w.Choose(w.tree.PathOf("A.JPG"));
    w.Click("Command2");
    EXPECT_EQ(w.asker.asked, c.asked);
    EXPECT_EQ(!w.tree.IsFile("A.JPG"), c.firstReplaced);
    EXPECT_EQ(!w.tree.IsFile("B.JPG"), c.secondReplaced);
  }
}

TEST(Form1Test, ProblemsAreListedWhenTheRunEnds) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.tree.Write("IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
  w.tree.Write("2002-02-02", "a file where the date directory would go");
  w.fs.openFails[w.tree.PathOf("IMG_0001.JPG")] = std::errc::permission_denied;
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  w.Click("Command2");
  ASSERT_EQ(w.messages.errors.size(), 1u) << "the failed move is shown at once";
  EXPECT_NE(w.messages.errors[0].indexOf("2002-02-02-020202.JPG"), -1);
  ASSERT_EQ(w.messages.problemLists.size(), 1u);
  EXPECT_EQ(w.messages.problemLists[0].size(), 2u);
  QString text = ProblemListDialog::ListText(w.messages.problemLists[0]);
  EXPECT_NE(text.indexOf(QString::fromStdString(w.tree.PathOf("IMG_0001.JPG")) +
                         ": cannot be opened: Permission denied"),
            -1)
      << text.toStdString();
  ProblemListDialog dialog(w.messages.problemLists[0], nullptr);
  dialog.CopyToClipboard();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
}

TEST(Form1Test, ListThatCannotBeCreatedIsExplainedAndTheWindowStays) {
  test::TempTree tree;
  tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  test::FaultyFileSystem fs;
  ScriptedDialog dialog;
  ScriptedViewer viewer;
  ScriptedAsker asker;
  RecordingMessages messages;
  RenameListPlace place;
  place.explicitPath = tree.PathOf("no/such/dir/Rename_List.TXT");
  Form1 form(fs, WindowServices{&dialog, &viewer, &asker, &messages}, place);
  form.show();
  dialog.answers.push_back(QString::fromStdString(tree.PathOf("IMG_0001.JPG")));
  form.Command1Click();
  form.Command2Click();
  ASSERT_EQ(messages.errors.size(), 1u);
  EXPECT_NE(messages.errors[0].indexOf("no/such/dir/Rename_List.TXT"), -1);
  EXPECT_NE(messages.errors[0].indexOf("No such file or directory"), -1);
  EXPECT_TRUE(tree.IsFile("IMG_0001.JPG"));
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.findChild<QPushButton*>("Command2")->isEnabled());
}

TEST(Form1Test, ClosingDuringARunStopsAfterThePictureAndKeepsTheList) {
  Window w;
  w.form->findChild<QCheckBox*>("Check1")->setChecked(false);
  for (int i = 1; i <= 5; ++i) {
    w.tree.Write("IMG_000" + std::to_string(i) + ".JPG",
                 Pic("200" + std::to_string(i) + ":01:01 01:01:01"));
  }
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  QObject::connect(w.form.get(), &Form1::HandedOver, [&] {
    if (w.form->RenameCount() == 1) w.form->close();
  });
  w.Click("Command2");
  EXPECT_FALSE(w.form->isVisible());
  EXPECT_FALSE(w.form->Running());
  EXPECT_EQ(w.form->RenameCount(), 1);
  auto lines = test::ListLines(w.listDir.Read("Rename_List.TXT"), w.tree.Root());
  EXPECT_EQ(lines.size(), 1u);
}

// With TESSALY_SCREENSHOT_DIR set, grabs the window in both languages in the
// middle of a real run (for the README), and checks that the grab shows it.
TEST(Form1Test, ScreenshotsOfARun) {
  QByteArray directory = qgetenv("TESSALY_SCREENSHOT_DIR");
  Window w;
  w.form->findChild<QCheckBox*>("Check2")->setChecked(true);
  for (int i = 1; i <= 3; ++i) {
    w.tree.Write("DCIM/IMG_000" + std::to_string(i) + ".JPG",
                 Pic("2009:08:1" + std::to_string(i) + " 12:07:4" + std::to_string(i), 6000, "",
                     "ACME", "Z100"));
  }
  w.Choose(w.tree.PathOf("DCIM/IMG_0001.JPG"));
  std::vector<QImage> shots;
  QObject::connect(w.form.get(), &Form1::HandedOver, [&] {
    if (shots.size() < 2 && w.TextOf("Label12") == "2") {
      if (!shots.empty()) w.Click("Command5");
      shots.push_back(w.form->grab().toImage());
    }
  });
  w.Click("Command2");
  ASSERT_EQ(shots.size(), 2u);
  for (const QImage& shot : shots)
    EXPECT_EQ(shot.size(), QSize(558, 107) * shot.devicePixelRatio());
  EXPECT_NE(shots[0], shots[1]) << "the captions changed";
  if (!directory.isEmpty()) {
    EXPECT_TRUE(shots[0].save(QString::fromUtf8(directory) + "/window-en.png"));
    EXPECT_TRUE(shots[1].save(QString::fromUtf8(directory) + "/window-zh.png"));
  }
}

TEST(QtFileDialogTest, TheOneFilterShowsEveryFileNamesWithoutADotIncluded) {
  test::TempTree tree;
  tree.Write("noext", "x");
  tree.Write("IMG_0001.JPG", "x");
  QtFileDialog dialog(nullptr);
  dialog.SetTitle(QStringLiteral("點選任一檔案"));
  dialog.SetFilter(QStringLiteral("Design Files (*.*)"));
  EXPECT_EQ(dialog.Dialog().windowTitle(), "點選任一檔案");
  EXPECT_EQ(dialog.Dialog().nameFilters(), QStringList{"Design Files (*.*)"});
  EXPECT_EQ(dialog.FileName(), "") << "nothing chosen yet";

  // What the user sees: the names in the dialog's file list.
  dialog.Dialog().setDirectory(QString::fromStdString(tree.Root()));
  dialog.Dialog().show();
  auto* view = dialog.Dialog().findChild<QListView*>(QStringLiteral("listView"));
  ASSERT_NE(view, nullptr);
  auto shown = [&] {
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

}  // namespace
}  // namespace tessaly

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
