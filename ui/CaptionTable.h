#pragma once

#include <QString>
#include <array>
#include <string_view>

#include "platform/qt/WindowServices.h"

namespace tessaly {

// One fixed caption of the window in both languages.
struct CaptionRow {
  std::string_view control;  // the object name of the control
  std::string_view english;  // column 0
  std::string_view chinese;  // column 1, Traditional Chinese
};

// The 14 captions in row order. Row 14, the language button, is inverted: it
// names the language that a click switches to.
const std::array<CaptionRow, 14>& CaptionTable();

// The texts of the dialogs that the window adds to the text's own.
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
};

// One dialog text in the language of `languageIndex` (0 English, 1 Chinese).
QString DialogCaption(DialogText text, int languageIndex);

// The replace question's words in the language of `languageIndex`.
ReplaceQuestionWords ReplaceQuestionCaptions(int languageIndex);

}  // namespace tessaly
