#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

#include "ui/WindowLayout.h"

namespace tessaly {

// The two caption languages; the value is the column of the caption table.
enum class CaptionLanguage { English = 0, Chinese = 1 };

// One fixed caption of the window in both languages, in UTF-8.
struct CaptionRow {
  Control control;
  std::string_view english;
  std::string_view chinese;  // Traditional Chinese
};

// The 14 captions in row order. The language button's row is inverted: it
// names the language that a click switches to.
const std::array<CaptionRow, 14>& CaptionTable();

// The caption of `row` in `language`.
std::string_view CaptionIn(const CaptionRow& row, CaptionLanguage language);

// The window's title, the same in both languages.
inline constexpr std::string_view kWindowTitle = "Brannock's Tessaly V2.1";

// The directory dialog's title and its one filter, the same in both
// languages: the name shown and the pattern.
inline constexpr std::string_view kDirectoryDialogTitle = "點選任一檔案";
inline constexpr std::string_view kAllFilesFilterName = "Design Files (*.*)";
inline constexpr std::string_view kAllFilesFilterPattern = "*.*";

// The texts of the dialogs that the window adds to its captions.
enum class DialogText {
  ReplaceTitle,
  ReplaceQuestion,   // %1 the name, %2 the file there, %3 the picture
  ReplaceFileFacts,  // %1 the path, %2 its size, %3 when it was modified
  Yes,
  No,
  YesToAll,
  NoToAll,
  NothingRenamed,
  ProblemsTitle,
  ProblemsCount,  // %1 the number of problems
  NotRenamed,
  RenamedNotMoved,
  NotRead,
  Copy,
  Close,
  NotOpened,  // %1 the rename list's path, %2 the reason
  MenuPreview,
  MenuUndo,
  MenuJournalFolder,
  PreviewTitle,
  PreviewCounts,    // %1 renamed, %2 moved, %3 date directories, %4 kept, %5 passed over
  PreviewProgress,  // %1 the pictures handled so far
  WouldAskReplace,  // %1 the file there
  UndoTitle,
  UndoCounts,  // %1 moves back, %2 directories removed, %3 left as they are
  Undo,
  Cancel,
  NothingToUndo,
  UndoInUse,  // %1 the journal
  NothingUndone,
  NotMovedBack,
  ReplacedLost,
};

// One dialog text in `language`.
std::string_view DialogCaption(DialogText text, CaptionLanguage language);

// `pattern` with %1, %2 and so on replaced by `values` in order; a "%"
// followed by anything else stays as it is.
std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace tessaly
