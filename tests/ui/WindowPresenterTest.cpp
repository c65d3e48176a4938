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
  std::vector<std::string> errors, questions, problemLists, opened;
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

}  // namespace
}  // namespace tessaly
