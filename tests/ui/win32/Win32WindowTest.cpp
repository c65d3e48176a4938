#include "ui/win32/Win32Window.h"

#include <gtest/gtest.h>

#include "platform/windows/WideText.h"
#include "platform/windows/WindowsFileSystem.h"
#include "tests/support/EngineHarness.h"

namespace tessaly {
namespace {

std::string TextOf(HWND control) {
  wchar_t text[512];
  GetWindowTextW(control, text, 512);
  return Utf8FromWide(text);
}

// Handles what waits in the queue, as the message loop does.
void Pump() {
  for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
    if (message.message != WM_QUIT) DispatchMessageW(&message);
  }
}

struct Window {
  test::TempTree tree, listDir;
  WindowsFileSystem fs;
  Win32Window form{GetModuleHandleW(nullptr),
                   fs,
                   {listDir.PathOf("Rename_List.TXT"), "", "", listDir.PathOf("j")}};
  HWND Control(Control control) const { return form.ControlHandle(control); }
  void Click(enum Control button) { SendMessageW(Control(button), BM_CLICK, 0, 0); }
};

// The controls at their places in pixels at 96 DPI, in tab order, with
// every caption in both languages and the common controls of the manifest.
TEST(Win32WindowTest, TheControlsAreAtTheirPlacesWithTheirCaptionsInBothLanguages) {
  Window w;
  RECT client, newName;
  GetClientRect(w.form.Handle(), &client);
  GetWindowRect(w.Control(Control::NewNameValue), &newName);
  MapWindowPoints(nullptr, w.form.Handle(), reinterpret_cast<POINT*>(&newName), 2);
  EXPECT_EQ(std::vector<LONG>({client.right, client.bottom, newName.left, newName.top,
                               newName.right, newName.bottom}),
            std::vector<LONG>({558, 107, 104, 64, 389, 77}));
  EXPECT_EQ(TextOf(w.form.Handle()), "Brannock's Tessaly V2.1");
  const std::string name =
      "EASTMAN KODAK COMPANY-KODAK DC240 ZOOM DIGITAL CAMERA-2010-01-01-080034.JPG";
  w.form.SetText(Control::NewNameValue, name);
  const std::string shown = TextOf(w.Control(Control::NewNameValue));
  EXPECT_TRUE(shown.starts_with("…") && name.ends_with(shown.substr(3)) &&
              shown.size() < name.size())
      << "the date end in sight: " << shown;
  const enum Control tabOrder[] = {
      Control::SelectDirectory,    Control::Start,    Control::Close,    Control::ViewRenameList,
      Control::DateDirectoriesBox, Control::MakerBox, Control::ModelBox, Control::Language};
  w.form.SetEnabled(Control::Start, true);  // Tab passes disabled buttons over
  w.form.SetEnabled(Control::ViewRenameList, true);
  for (std::size_t i = 0; i < std::size(tabOrder); ++i) {
    EXPECT_EQ(GetNextDlgTabItem(w.form.Handle(), w.Control(tabOrder[i]), FALSE),
              w.Control(tabOrder[(i + 1) % std::size(tabOrder)]))
        << i;
  }
  for (int click = 0; click < 2; ++click, w.Click(Control::Language)) {
    for (const CaptionRow& row : CaptionTable()) {
      EXPECT_EQ(TextOf(w.Control(row.control)), click == 0 ? row.english : row.chinese);
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w.Control(Control::Start), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(std::wstring(font.lfFaceName) == L"Microsoft JhengHei UI", click == 1);
  }
  wchar_t comctl32[MAX_PATH];
  GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), comctl32, MAX_PATH);
  EXPECT_NE(Utf8FromWide(comctl32).find("\\winsxs\\amd64_microsoft.windows.common-controls_"),
            std::string::npos)
      << Utf8FromWide(comctl32);
}

// Runs from the buttons: the directory from the file chosen, the replace
// question answered in its task dialog, and a close during a run that
// waits for the run to stop.
TEST(Win32WindowTest, TheButtonsDriveRunsAndACloseDuringOneWaitsForItsEnd) {
  Window w;
  w.tree.Write("A.JPG", test::Pic("2001:01:01 01:01:01", 6000));
  w.tree.Write("2001-01-01-010101.JPG", test::Blob(6000));
  w.tree.Write("B.JPG", test::Pic("2002:02:02 02:02:02", 7000));
  w.tree.Write("2002-02-02-020202.JPG", test::Blob(7000));
  w.form.chooseFile = [&](std::string_view title) {
    EXPECT_EQ(title, "點選任一檔案");
    return w.tree.PathOf("A.JPG");
  };
  w.Click(Control::SelectDirectory);
  EXPECT_EQ(TextOf(w.Control(Control::DirectoryValue)), w.tree.Root());
  SendMessageW(w.Control(Control::DateDirectoriesBox), BM_CLICK, 0, 0);
  std::vector<std::string> questions;
  w.form.onDialogShown = [&](HWND dialog) {
    questions.push_back(TextOf(dialog));
    PostMessageW(dialog, TDM_CLICK_BUTTON, Win32Window::kYesToAll, 0);
  };
  w.Click(Control::Start);
  EXPECT_EQ(questions, std::vector<std::string>{"Confirm File Replace"}) << "Yes to All";
  EXPECT_EQ(TextOf(w.Control(Control::CountValue)), "2");
  EXPECT_EQ(w.tree.Files().size(), 2u);
  // The close waits in the queue until the run's first hand-over.
  w.form.Presenter().SetFrameInterval(std::chrono::milliseconds(0));
  w.tree.Write("C.JPG", test::Pic("2003:03:03 03:03:03"));
  PostMessageW(w.form.Handle(), WM_CLOSE, 0, 0);
  w.Click(Control::Start);
  EXPECT_TRUE(w.tree.IsFile("C.JPG")) << "the run stopped";
  EXPECT_TRUE(IsWindow(w.form.Handle())) << "closed only after the click's handler";
  Pump();
  EXPECT_FALSE(IsWindow(w.form.Handle()));
}

// The menu's entries stand in the system menu too; the context menu comes
// by the menu key, not by a right click on a button; its entries, the system
// menu's and F5 reach the presenter.
TEST(Win32WindowTest, TheMenusAndTheShortcutReachThePresenter) {
  Window w;
  w.tree.Write("IMG_0001.JPG", test::Pic("2009:08:12 12:07:41"));
  w.form.chooseFile = [&](std::string_view) { return w.tree.PathOf("IMG_0001.JPG"); };
  w.Click(Control::SelectDirectory);
  std::string entries;
  for (UINT id = Win32Window::kFirstMenuId; id < Win32Window::kFirstMenuId + 48; id += 16) {
    wchar_t text[64];
    GetMenuStringW(GetSystemMenu(w.form.Handle(), FALSE), id, text, 64, MF_BYCOMMAND);
    const UINT state = GetMenuState(GetSystemMenu(w.form.Handle(), FALSE), id, MF_BYCOMMAND);
    entries += Utf8FromWide(text) + (state & MF_GRAYED ? "-|" : "|");
  }
  EXPECT_EQ(entries, "Preview…\tF5|Undo Last Run…\tCtrl+Z-|Open Journal Folder|");
  std::vector<std::string> shown;  // the menus and the reviews, by title; each closed
  w.form.trackMenu = [&](HMENU) { return shown.push_back("menu"), Win32Window::kFirstMenuId; };
  w.form.onDialogShown = [&](HWND review) {
    shown.push_back(TextOf(review));
    PostMessageW(review, WM_COMMAND, IDCANCEL, 0);
  };
  const HWND form = w.form.Handle();
  SendMessageW(form, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.Control(Control::Start)), 0);
  SendMessageW(form, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form), -1);  // the menu key
  SendMessageW(form, WM_SYSCOMMAND, Win32Window::kFirstMenuId, 0);
  MSG f5{form, WM_KEYDOWN, VK_F5, 0, 0, {}};
  EXPECT_TRUE(w.form.TranslateShortcut(f5));
  const std::string review = "Preview: what Start would do";
  EXPECT_EQ(shown, std::vector<std::string>({"menu", review, review, review}));
  EXPECT_TRUE(w.tree.IsFile("IMG_0001.JPG")) << "closed, not started";
}

}  // namespace
}  // namespace tessaly
