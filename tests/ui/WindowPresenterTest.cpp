#include "ui/WindowPresenter.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <regex>

#include "tests/support/EngineHarness.h"

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

// The next answer of a queue, `otherwise` when it is empty.
template <typename T>
T Next(std::deque<T>& answers, T otherwise) {
  if (answers.empty()) return otherwise;
  T answer = answers.front();
  answers.pop_front();
  return answer;
}

// A window without a display: what is shown, by the controls' object names;
// the dialogs answered from queues (an empty file name cancels, a missing
// replace answer is No) and what they showed, as text.
struct FakeView final : WindowView {
  std::map<std::string, std::string, std::less<>> text;
  std::map<std::string, bool, std::less<>> enabled, checked;
  std::string title, dialog;
  std::deque<std::string> files;
  std::deque<ReplaceChoice> replies;
  std::vector<std::string> errors, questions, problemLists, opened, messages;
  std::map<MenuEntry, std::pair<std::string, bool>> menu;  // caption, enabled
  std::vector<ReviewTexts> reviews;
  std::deque<ReviewButton> reviewAnswers;  // Close when empty
  OpenResult openResult;
  std::function<void()> atHandOver = [] {};
  bool closed = false;
  WindowPresenter* presenter = nullptr;

  static std::string Name(Control c) { return std::string(PlaceOf(c).name); }
  void SetTitle(std::string_view t) override { title = t; }
  void SetText(Control c, std::string_view t) override { text[Name(c)] = t; }
  void SetEnabled(Control c, bool on) override { enabled[Name(c)] = on; }
  void SetChecked(Control c, bool on) override { checked[Name(c)] = on; }
  bool IsChecked(Control c) const override { return checked.at(Name(c)); }
  void SetLanguage(CaptionLanguage) override {}
  std::string ChooseFile(std::string_view t, std::string_view name, std::string_view pattern) {
    dialog = std::string(t) + " " + std::string(name) + "|" + std::string(pattern);
    return Next(files, std::string());
  }
  ReplaceChoice AskReplace(const ReplaceQuestionWords& w, std::string_view,
                           std::string_view existing) override {
    questions.push_back(w.title + " " + w.yesToAll + " " + std::string(existing));
    return Next(replies, ReplaceChoice::No);
  }
  void ShowError(std::string_view t, std::string_view message) override {
    errors.push_back(std::string(t) + ": " + std::string(message));
  }
  void ShowMessage(std::string_view t, std::string_view message) override {
    messages.push_back(std::string(t) + ": " + std::string(message));
  }
  void SetMenuEntry(MenuEntry e, std::string_view caption, bool on) override {
    menu[e] = {std::string(caption), on};
  }
  ReviewButton ShowReview(const ReviewTexts& t) override {
    reviews.push_back(t);
    return Next(reviewAnswers, ReviewButton::Close);
  }
  void ShowProblems(const ProblemListTexts& t) override {
    problemLists.push_back(t.title + "|" + t.heading + "|" + t.copy + "|" + t.close + "|" + t.list);
  }
  OpenResult OpenInViewer(std::string_view path) override {
    opened.emplace_back(path);
    return openResult;
  }
  void HandOver() override { atHandOver(); }
  void Close() override { closed = presenter->CloseRequested() == CloseAnswer::CloseNow; }
};

struct Window {
  test::TempTree tree, listDir;
  test::FaultyFileSystem fs;
  FakeView view;
  WindowPresenter presenter{
      view, fs,
      RenameListPlace{listDir.PathOf("Rename_List.TXT"), "", "", listDir.PathOf("journals")}};

  Window() {
    view.presenter = &presenter;
    presenter.SetFrameInterval(std::chrono::milliseconds(0));
    presenter.Load();
  }
  void Click(const char* name) {
    for (const ControlPlace& place : WindowLayout()) {
      if (place.name == name) presenter.Click(place.control);
    }
  }
  void Choose(const std::string& file) {
    view.files.push_back(file);
    Click("Command1");
  }
  std::string Menu() const {  // the entries' enabled states, as "101"
    std::string states;
    for (MenuEntry e : kMenuEntries)
      states += view.menu.at(e).second ? '1' : '0';
    return states;
  }
  std::string Enabling() const {  // Command1 to Command5, as "10111"
    std::string states;
    for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5"})
      states += !view.enabled.contains(name) || view.enabled.at(name) ? '1' : '0';
    return states;
  }
};

TEST(WindowPresenterTest, StartsInEnglishAndTheLanguageButtonSwitchesEveryCaptionAndNothingElse) {
  Window w;
  EXPECT_EQ(w.Enabling(), "10101");
  EXPECT_EQ(w.view.checked, (std::map<std::string, bool, std::less<>>{
                                {"Check1", true}, {"Check2", false}, {"Check3", false}}));
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  for (int click = 0; click <= 4; ++click) {
    if (click > 0) w.Click("Command5");
    for (const auto& row : kCaptions) {
      EXPECT_EQ(w.view.text[row[0]], row[1 + click % 2]) << row[0] << " " << click;
    }
    EXPECT_EQ(w.view.text.size(), 15u) << "the captions and the chosen directory";
    EXPECT_EQ(w.view.text["Label2"], w.tree.Root());
    EXPECT_EQ(w.view.title, "Brannock's Tessaly V2.1");
    EXPECT_EQ(w.Enabling(), "11101") << "enabled states stay";
  }
  w.Click("Command3");
  EXPECT_TRUE(w.view.closed);
}

TEST(WindowPresenterTest, ChoosingAFileSelectsItsDirectoryACancelKeepsItAndStillEnablesStart) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
  w.Choose("");  // the first dialog cancelled: Start comes on and does nothing
  w.Click("Command2");
  EXPECT_EQ(w.Enabling(), "11101");
  EXPECT_EQ(w.tree.Files().size(), 1u);
  EXPECT_FALSE(w.listDir.IsFile("Rename_List.TXT"));
  const std::string gone = w.tree.PathOf("trip/");
  w.Choose(gone + "IMG_0001.JPG");
  w.Click("Command5");
  w.Click("Command2");  // a directory that is gone: an error in the window's language
  EXPECT_EQ(w.Enabling(), "11101") << "and no list to view";
  ASSERT_EQ(w.view.errors.size(), 1u);
  EXPECT_TRUE(w.view.errors[0].starts_with("Tessaly: " + gone + ": "));
  EXPECT_TRUE(w.view.errors[0].ends_with("\n\n沒有任何檔案被更名。"));
  w.Choose("");
  EXPECT_EQ(w.view.dialog, "點選任一檔案 Design Files (*.*)|*.*");
  EXPECT_EQ(w.presenter.SelectedDirectory(), gone);
  EXPECT_EQ(w.view.text["Label2"], gone);
}

TEST(WindowPresenterTest, ARunLocksFourButtonsHandlesEventsAndItsListCanBeViewed) {
  Window w;
  w.view.checked["Check2"] = true;
  w.tree.Write("IMG_0001.JPG", Pic("2009:08:12 12:07:41"));
  w.tree.Write("IMG_0002.JPG", Pic("2010:01:01 00:00:00"));
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  std::set<std::string> seen;  // enabled states, the Start caption, each new name
  w.view.atHandOver = [&] {
    if (seen.empty()) w.Click("Command5");  // a click waiting in the event loop
    seen.insert({w.Enabling(), w.view.text["Command2"], w.view.text["Label6"]});
  };
  w.Click("Command2");
  EXPECT_TRUE(seen.count("00001") && seen.count("ACME-2009-08-12-120741.JPG") &&
              seen.count("開始"));
  EXPECT_FALSE(seen.count("Start")) << "the language switched during the run";
  EXPECT_FALSE(seen.count("11111")) << "no button comes back during the run";
  EXPECT_EQ(w.Enabling(), "11111");
  EXPECT_EQ(w.view.text["Label12"], "4");
  EXPECT_TRUE(w.tree.IsFile("2009-08-12/ACME-2009-08-12-120741.JPG"));
  EXPECT_EQ(w.view.text["Label2"], w.tree.PathOf("2010-01-01/")) << "the last directory walked";
  EXPECT_TRUE(w.view.problemLists.empty()) << "a run without problems shows nothing more";
  // Painted at most once an hour, the next run shows its last picture when
  // it ends; the count goes on.
  w.presenter.SetFrameInterval(std::chrono::hours(1));
  w.view.checked["Check3"] = true;
  w.tree.Write("b/IMG_0001.JPG", test::CameraPicture("2009:08:12 12:07:41", "EASTMAN KODAK",
                                                     "DC240", test::Order::Intel, 6000, ""));
  w.Choose(w.tree.PathOf("b/IMG_0001.JPG"));
  seen.clear();
  w.Click("Command2");
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(w.view.text["Label12"] + " " + w.view.text["Label3"] + " " + w.view.text["Label4"] +
                " " + w.view.text["Label6"] + " " + w.view.text["Label9"] + " " +
                w.view.text["Label2"],
            "6 2009:08:12 12:07:41 EASTMAN KODAK-DC240-2009-08-12-120741.JPG "
            "EASTMAN KODAK-DC240-2009-08-12-120741.JPG " +
                w.tree.PathOf("b/2009-08-12/"));
  // A later run that makes no list keeps the latest list that a run made
  // viewable; a list that is gone is not opened; a viewer that fails says why.
  w.Choose(w.tree.PathOf("gone/IMG_0001.JPG"));
  w.Click("Command2");
  w.Click("Command4");
  w.view.openResult = {OpenStatus::Failed, "no association"};
  w.Click("Command4");
  const std::string list = w.listDir.PathOf("Rename_List.TXT");
  std::filesystem::remove(test::NativePath(list));
  w.Click("Command4");
  EXPECT_EQ(w.view.opened, std::vector(2, list));
  EXPECT_EQ(w.view.errors.back(), "Tessaly: 無法開啟 " + list + "：no association");
}

TEST(WindowPresenterTest, ReplaceQuestionIsAnsweredEachWayAndToAllLastsOneRun) {
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
    w.view.checked["Check1"] = false;
    // Each picture meets a file of its own length under its new name.
    w.tree.Write("A.JPG", Pic("2001:01:01 01:01:01", 6000));
    w.tree.Write("2001-01-01-010101.JPG", test::Blob(6000));
    w.tree.Write("B.JPG", Pic("2002:02:02 02:02:02", 7000));
    w.tree.Write("2002-02-02-020202.JPG", test::Blob(7000));
    w.view.replies = c.replies;
    w.Choose(w.tree.PathOf("A.JPG"));
    w.Click("Command2");
    ASSERT_EQ(w.view.questions.size(), c.asked);
    EXPECT_TRUE(w.view.questions[0].starts_with(c.words));
    EXPECT_TRUE(w.view.questions[0].ends_with(w.tree.PathOf("2001-01-01-010101.JPG")))
        << "about the file there";
    EXPECT_EQ(!w.tree.IsFile("A.JPG"), c.firstReplaced);
    EXPECT_EQ(!w.tree.IsFile("B.JPG"), c.secondReplaced);
    std::filesystem::remove(test::NativePath(w.tree.PathOf("A.JPG")));
    std::filesystem::remove(test::NativePath(w.tree.PathOf("B.JPG")));
    w.tree.Write("C.JPG", Pic("2003:03:03 03:03:03", 8000));
    w.tree.Write("2003-03-03-030303.JPG", test::Blob(8000));
    w.Click("Command2");
    EXPECT_EQ(w.view.questions.size(), c.asked + 1) << "the next run asks afresh";
  }
}

TEST(WindowPresenterTest, ProblemsAreListedOnceWhenTheRunEndsGroupedByWhatBecameOfTheFile) {
  for (const char* language : {"English", "Chinese"}) {
    Window w;
    if (language[0] == 'C') w.Click("Command5");
    w.tree.Write("IMG_0001.JPG", Pic("2001:01:01 01:01:01"));
    w.tree.Write("IMG_0002.JPG", Pic("2002:02:02 02:02:02"));
    w.tree.Write("IMG_0003.JPG", Pic("2003:03:03 03:03:03"));
    w.tree.Write("2002-02-02", "a file where the date directory would go");
    w.fs.fails["open " + w.tree.PathOf("IMG_0001.JPG")] = std::errc::permission_denied;
    w.fs.fails["move " + w.tree.PathOf("IMG_0003.JPG")] = std::errc::permission_denied;
    w.Choose(w.tree.PathOf("IMG_0001.JPG"));
    w.Click("Command2");
    EXPECT_TRUE(w.view.errors.empty()) << "no box stops the run";
    ASSERT_EQ(w.view.problemLists.size(), 1u);
    // Title, count, buttons; each heading, then the file of its group (its
    // reason the engine's).
    const std::string p3 = w.tree.PathOf("IMG_0003.JPG"), p1 = w.tree.PathOf("IMG_0001.JPG"),
                      p2 = w.tree.PathOf("2002-02-02-020202.JPG");
    const std::string expected =
        language[0] == 'E'
            ? "Pictures passed over|3 problem(s) in this run:|Copy|Close|"
              "Not renamed, left as they were (1)\n    " +
                  p3 + ":\nRenamed, but not moved into the date directory (1)\n    " + p2 +
                  ":\nNot read (1)\n    " + p1 + ":\n"
            : "略過的照片|本次執行共有 3 個問題：|複製|關閉|未更名，保持原狀 (1)\n    " + p3 +
                  ":\n已更名，但未移入日期子目錄 (1)\n    " + p2 + ":\n無法讀取 (1)\n    " + p1 +
                  ":\n";
    const std::string shown =
        std::regex_replace(w.view.problemLists[0], std::regex(": [^\n]+\n"), ":\n");
    EXPECT_EQ(shown, expected);
    w.Click("Command2");
    EXPECT_EQ(w.view.problemLists.at(1), w.view.problemLists[0]) << "each run lists its own";
  }
}

TEST(WindowPresenterTest, ClosingDuringARunStopsAfterThePictureAndKeepsTheList) {
  Window w;
  w.view.checked["Check1"] = false;
  for (char i = '1'; i <= '5'; ++i) {
    w.tree.Write(std::string("IMG_000") + i + ".JPG",
                 Pic(std::string("200") + i + ":01:01 01:01:01"));
  }
  w.fs.fails["open " + w.tree.PathOf("IMG_0001.JPG")] = std::errc::permission_denied;
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  w.view.atHandOver = [&] {
    if (w.presenter.RenameCount() == 1) w.view.Close();
    EXPECT_FALSE(w.view.closed) << "the window stays until the run has closed its list";
  };
  w.Click("Command2");
  EXPECT_TRUE(w.view.closed && w.view.problemLists.empty()) << "no list for a window that goes";
  EXPECT_FALSE(w.presenter.Running());
  EXPECT_EQ(test::ListLines(w.listDir.Read("Rename_List.TXT"), w.tree.Root()).size(), 1u);
}

// A preview in the window's language shows what Start then does, without a
// change on disk; undo shows what it would move back, moves it back when told
// and finds nothing more to undo the second time.
TEST(WindowPresenterTest, PreviewShowsWhatTheRunDoesAndUndoGivesTheTreeBack) {
  const struct {
    bool chinese;
    const char *menu, *counts, *wouldAsk, *undoCounts, *nothing;
  } cases[] = {
      {false, "Preview…|Undo Last Run…|Open Journal Folder|",
       "Would rename 2 pictures and move 2 into 2 date directories; 3 keep their names, 2 passed "
       "over.",
       "A.JPG: would ask to replace ",
       "Would make 4 moves back and remove 2 directories; 0 left as they are.",
       "Undo Last Run: Nothing to undo: every change of the last run is undone already."},
      {true, "預覽…|復原上次更名…|開啟紀錄資料夾|",
       "將更名 2 個檔案，並將 2 個移入 2 個日期子目錄；3 個保持原名，略過 2 個。",
       "A.JPG: 將詢問是否取代 ", "將進行 4 次移回並移除 2 個目錄；0 項保持原狀。",
       "復原上次更名: 沒有可復原的變更：上次更名的每項變更都已復原。"}};
  for (const auto& c : cases) {
    Window w;
    if (c.chinese) w.Click("Command5");
    w.tree.Write("IMG_0001.JPG", Pic("2009:08:12 12:07:41"));
    w.tree.Write("IMG_0002.JPG", Pic("2010:01:01 00:00:00"));
    w.tree.Write("2011-01-01/2011-01-01-000000.JPG", Pic("2011:01:01 00:00:00"));
    w.tree.Write("A.JPG", Pic("2001:01:01 01:01:01", 6000));  // meets a file of its length
    w.tree.Write("2001-01-01-010101.JPG", test::Blob(6000));
    w.tree.Write("B.JPG", Pic("2002:02:02 02:02:02"));
    w.fs.fails["open " + w.tree.PathOf("B.JPG")] = std::errc::permission_denied;
    const auto before = w.tree.Files();
    w.Choose(w.tree.PathOf("A.JPG"));
    std::string captions;
    for (MenuEntry e : kMenuEntries)
      captions += w.view.menu.at(e).first + "|";
    EXPECT_EQ(captions, c.menu);
    w.view.reviewAnswers = {ReviewButton::Proceed};
    w.presenter.Choose(MenuEntry::Preview);
    ASSERT_EQ(w.view.reviews.size(), 1u);
    const ReviewTexts preview = w.view.reviews[0];
    EXPECT_EQ(preview.counts, c.counts);
    // In the order of the listings, which a preview cannot foretell for the
    // directories it makes.
    auto sorted = [](const std::string& text) {
      test::Lines lines;
      for (std::size_t at = 0, end; at < text.size(); at = end + 1)
        lines.push_back(test::TempTree::Slashed(text.substr(at, (end = text.find('\n', at)) - at)));
      return test::Sorted(lines);
    };
    EXPECT_EQ(sorted(preview.changes),
              (test::Lines{"2009-08-12/2009-08-12-120741.JPG → 2009-08-12/2009-08-12-120741.JPG",
                           "2010-01-01/2010-01-01-000000.JPG → 2010-01-01/2010-01-01-000000.JPG",
                           "2011-01-01/2011-01-01-000000.JPG → 2011-01-01/2011-01-01-000000.JPG",
                           "IMG_0001.JPG → 2009-08-12-120741.JPG",
                           "IMG_0002.JPG → 2010-01-01-000000.JPG"}));
    EXPECT_NE(preview.problems.find(std::string("\n    ") + c.wouldAsk + "2001-01-01-010101.JPG\n"),
              std::string::npos);
    EXPECT_EQ(preview.defaultButton, ReviewButton::Close);
    // Start in the review: the run asks what the preview did not, and its
    // list holds the preview's lines.
    EXPECT_EQ(w.view.questions.size(), 1u);
    std::string listed;
    for (const std::string& line :
         test::ListLines(w.listDir.Read("Rename_List.TXT"), w.tree.Root()))
      listed += std::regex_replace(line, std::regex("--->"), " → ") + "\n";
    EXPECT_EQ(sorted(listed), sorted(preview.changes));
    EXPECT_EQ(w.view.text["Label12"], "5");
    w.view.reviewAnswers = {ReviewButton::Proceed};
    w.presenter.Choose(MenuEntry::UndoLastRun);
    ASSERT_EQ(w.view.reviews.size(), 2u);
    EXPECT_EQ(w.view.reviews[1].counts, c.undoCounts);
    EXPECT_TRUE(test::TempTree::Slashed(w.view.reviews[1].changes)
                    .starts_with("2010-01-01/2010-01-01-000000.JPG → 2010-01-01-000000.JPG\n"));
    EXPECT_EQ(w.view.reviews[1].defaultButton, ReviewButton::Proceed);
    EXPECT_EQ(w.tree.Files(), before) << "byte for byte";
    EXPECT_FALSE(std::filesystem::exists(test::NativePath(w.tree.PathOf("2009-08-12"))));
    EXPECT_EQ(w.view.text["Label12"], "5") << "the run's count again";
    w.presenter.Choose(MenuEntry::UndoLastRun);
    EXPECT_EQ(w.view.messages, std::vector<std::string>{c.nothing});
    EXPECT_EQ(w.view.reviews.size(), 2u);
  }
}

// Both entries are off during a run; Close stops a preview; undo lists what
// it refuses, and a cancelled undo changes nothing.
TEST(WindowPresenterTest, TheMenuFollowsTheRunAndUndoListsWhatItRefuses) {
  Window w;
  w.tree.Write("IMG_0001.JPG", Pic("2009:08:12 12:07:41"));
  w.tree.Write("IMG_0002.JPG", Pic("2010:01:01 00:00:00"));
  EXPECT_EQ(w.Menu(), "001");
  w.Choose(w.tree.PathOf("IMG_0001.JPG"));
  EXPECT_EQ(w.Menu(), "101");
  std::set<std::string> during;
  w.view.atHandOver = [&] { during.insert(w.Menu() + w.Enabling()); };
  w.Click("Command2");
  EXPECT_EQ(during, std::set<std::string>{"00100001"});
  EXPECT_EQ(w.Menu(), "111");
  during.clear();
  int handOvers = 0;
  w.view.atHandOver = [&] {
    during.insert(w.Menu() + w.Enabling());
    ++handOvers;
    w.Click("Command3");
  };
  w.presenter.Choose(MenuEntry::Preview);
  EXPECT_EQ(during, std::set<std::string>{"00100101"});
  EXPECT_EQ(handOvers, 1) << "stopped at once";
  EXPECT_TRUE(w.view.reviews.empty() && !w.view.closed);
  EXPECT_EQ(w.view.text["Label12"], "4");
  w.view.atHandOver = [] {};
  w.tree.Write("2010-01-01/2010-01-01-000000.JPG", "edited since");
  const auto after = w.tree.Files();
  w.presenter.Choose(MenuEntry::UndoLastRun);  // answered Close
  EXPECT_EQ(w.tree.Files(), after);
  w.view.reviewAnswers = {ReviewButton::Proceed};
  w.presenter.Choose(MenuEntry::UndoLastRun);
  EXPECT_EQ(w.view.reviews.at(1).problems, w.view.reviews[0].problems);
  ASSERT_EQ(w.view.problemLists.size(), 1u);
  EXPECT_NE(w.view.problemLists[0].find("Undo Last Run|2 problem(s) in this run:|Copy|Close|"
                                        "Not moved back, left as they are (2)\n    " +
                                        w.tree.PathOf("2010-01-01/2010-01-01-000000.JPG")),
            std::string::npos);
  EXPECT_TRUE(w.tree.IsFile("IMG_0001.JPG") && !w.tree.IsFile("IMG_0002.JPG"));
  w.presenter.Choose(MenuEntry::OpenJournalFolder);
  EXPECT_EQ(w.view.opened, std::vector<std::string>{w.listDir.PathOf("journals")});
}

}  // namespace
}  // namespace tessaly
