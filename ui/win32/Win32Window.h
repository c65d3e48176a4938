#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <functional>
#include <string>

#include "platform/FileSystem.h"
#include "ui/WindowPresenter.h"
#include "ui/WindowView.h"

namespace tessaly {

// The window on Windows' own controls: the controls of WindowLayout() at
// their places (pixels = twips × DPI / 1440, redone when the DPI changes),
// the system's message font (Microsoft JhengHei UI for Chinese captions),
// made smaller where a caption would not fit its place,
// values shortened in the middle, or at the start where their end
// matters, with the whole text as a tooltip, the
// common dialogs and task dialogs. What the window does is the presenter's.
class Win32Window final : public WindowView {
 public:
  // The window class, which the installer looks for to tell whether the
  // program runs.
  static constexpr const wchar_t* kClassName = L"TessalyWindow";

  Win32Window(HINSTANCE instance, FileSystem& fileSystem, RenameListPlace listPlace);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND Handle() const { return window_; }
  HWND ControlHandle(Control control) const { return controls_[static_cast<std::size_t>(control)]; }
  WindowPresenter& Presenter() { return presenter_; }

  // The buttons of the task dialogs: the replace question's answers and
  // the problem list's Copy.
  enum TaskButton : int { kYes = 1001, kNo, kYesToAll, kNoToAll, kCopy };

  // The menu entries' command identifiers, in the context menu and the
  // system menu (whose commands keep their low four bits clear).
  static constexpr int kFirstMenuId = 0x1000, kMenuIdStep = 0x10;

  // Where a test answers the dialogs: the file dialog, every task dialog
  // and review once it is shown (its window given), and the context menu
  // (the command chosen, 0 for none).
  std::function<std::string(std::string_view title)> chooseFile;
  std::function<void(HWND dialog)> onDialogShown;
  std::function<int(HMENU menu)> trackMenu;

  // The message loop's part: a shortcut of the menu (F5, Ctrl+Z) becomes
  // its command; true when `message` was one.
  bool TranslateShortcut(MSG& message);

  // WindowView
  void SetTitle(std::string_view title) override;
  void SetText(Control control, std::string_view text) override;
  void SetEnabled(Control control, bool enabled) override;
  void SetChecked(Control box, bool checked) override;
  bool IsChecked(Control box) const override;
  void SetLanguage(CaptionLanguage language) override;
  std::string ChooseFile(std::string_view title, std::string_view filterName,
                         std::string_view filterPattern) override;
  ReplaceChoice AskReplace(const ReplaceQuestionWords& words, std::string_view picturePath,
                           std::string_view existingPath) override;
  void ShowError(std::string_view title, std::string_view text) override;
  void ShowMessage(std::string_view title, std::string_view text) override;
  void SetMenuEntry(MenuEntry entry, std::string_view caption, bool enabled) override;
  ReviewButton ShowReview(const ReviewTexts& texts) override;
  void ShowProblems(const ProblemListTexts& texts) override;
  OpenResult OpenInViewer(std::string_view path) override;
  void HandOver() override;
  void Close() override;

  // The task dialog's callback; public for the C callback only.
  HRESULT OnTaskDialog(HWND dialog, UINT notification, WPARAM wParam);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void Lay(UINT dpi);
  HFONT FittedFont(LOGFONTW font, CaptionLanguage language, UINT dpi) const;
  void MakeFonts(UINT dpi);
  void ApplyFonts();
  int ShowTaskDialog(TASKDIALOGCONFIG& config);
  void ShowNote(std::string_view title, std::string_view text, PCWSTR icon);
  void CreateMenus();
  // A command of the menus: true when `id` is one of them.
  bool ChooseMenuEntry(int id);
  void ShowContextMenu(HWND clicked, LPARAM where);

  WindowPresenter presenter_;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  std::array<HWND, 23> controls_{};
  HFONT messageFont_ = nullptr;  // the values'
  HFONT englishFont_ = nullptr;  // the captions', fitted to them
  HFONT chineseFont_ = nullptr;
  CaptionLanguage language_ = CaptionLanguage::English;
  std::wstring copyText_;  // what the problem list's Copy button copies
  HMENU menu_ = nullptr;   // the context menu
  HACCEL shortcuts_ = nullptr;
};

}  // namespace tessaly
