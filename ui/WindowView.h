#pragma once

#include <string>
#include <string_view>

#include "ui/CaptionTable.h"
#include "ui/WindowLayout.h"

namespace tessaly {

enum class ReplaceChoice { Yes, No, YesToAll, NoToAll };

// The replace question's words in the window's language: the title, the
// question (%1 the name, %2 the file there, %3 the picture), one file's facts
// (%1 its path, %2 its size, %3 when it was modified) and the four answers.
struct ReplaceQuestionWords {
  std::string title, question, fileFacts, yes, no, yesToAll, noToAll;
};

// The problem list of a run as shown: its title, the line above the list,
// the list (one line a problem, under its group's heading) and the captions
// of its two buttons.
struct ProblemListTexts {
  std::string title, heading, list, copy, close;
};

// The entries of the window's context menu (on Windows also of its system
// menu), in the menu's order.
enum class MenuEntry { Preview, UndoLastRun, OpenJournalFolder };
inline constexpr MenuEntry kMenuEntries[] = {MenuEntry::Preview, MenuEntry::UndoLastRun,
                                             MenuEntry::OpenJournalFolder};

enum class ReviewButton { Proceed, Close };

// What a run or an undo would do, shown before it is done: the title, the
// counts, the changes (one "old → new" line each, paths relative to the
// directory of the run), what would be passed over or refused (under its
// group headings, empty when nothing), the captions of the button that goes
// ahead and of the one that closes, and which of the two Return presses.
struct ReviewTexts {
  std::string title, counts, changes, problems, proceed, close;
  ReviewButton defaultButton = ReviewButton::Close;
};

enum class OpenStatus { Opened, Failed };

struct OpenResult {
  OpenStatus status = OpenStatus::Opened;
  std::string reason;  // why it failed, in the system's words
};

// What the window presenter needs of a toolkit's window: every text in
// UTF-8, every control named by Control. The view builds its controls from
// WindowLayout() and hands each button's click to the presenter.
class WindowView {
 public:
  virtual ~WindowView() = default;
  virtual void SetTitle(std::string_view title) = 0;
  // A caption or a value. A value too long for its place keeps the part
  // that its row in WindowLayout() names in sight.
  virtual void SetText(Control control, std::string_view text) = 0;
  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual void SetChecked(Control box, bool checked) = 0;
  virtual bool IsChecked(Control box) const = 0;
  // Called before the captions of `language` are set: fonts and the
  // toolkit's own texts follow it.
  virtual void SetLanguage(CaptionLanguage language) = 0;
  // Lets the user pick one existing file; its full path, or "" when the
  // dialog was cancelled (or, as the common dialog does, the file chosen
  // the time before: either keeps the directory as it was).
  virtual std::string ChooseFile(std::string_view title, std::string_view filterName,
                                 std::string_view filterPattern) = 0;
  virtual ReplaceChoice AskReplace(const ReplaceQuestionWords& words, std::string_view picturePath,
                                   std::string_view existingPath) = 0;
  virtual void ShowError(std::string_view title, std::string_view text) = 0;
  virtual void ShowMessage(std::string_view title, std::string_view text) = 0;
  // The caption and enabled state of one menu entry; the view hands a chosen
  // entry (its shortcut too) to the presenter's Choose().
  virtual void SetMenuEntry(MenuEntry entry, std::string_view caption, bool enabled) = 0;
  // Shows the review in a dialog owned by the window, its lists scrollable;
  // Esc and the title bar's close button answer Close.
  virtual ReviewButton ShowReview(const ReviewTexts& texts) = 0;
  virtual void ShowProblems(const ProblemListTexts& texts) = 0;
  // Opens the file in the user's viewer for its kind.
  virtual OpenResult OpenInViewer(std::string_view path) = 0;
  // Repaints and handles the events that are waiting, once.
  virtual void HandOver() = 0;
  // Closes the window, through the same road as the user's close.
  virtual void Close() = 0;
};

}  // namespace tessaly
