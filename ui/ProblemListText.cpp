#include "ui/ProblemListText.h"

namespace tessaly {
namespace {

// What became of the file that the problem is about.
DialogText Group(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::SubDirectoryMoveFailed:
      return DialogText::RenamedNotMoved;
    case ProblemKind::PictureUnreadable:
    case ProblemKind::HeaderLimit:
    case ProblemKind::NotRegularFile:
    case ProblemKind::DirectoryUnreadable:
    case ProblemKind::EntryUnreadable:
    case ProblemKind::LinkNotFollowed:
      return DialogText::NotRead;
    case ProblemKind::UnusableName:
    case ProblemKind::RenameFailed:
    case ProblemKind::RenameDeclined:
    case ProblemKind::NoFreeName:
    case ProblemKind::RenameListWriteFailed:
    case ProblemKind::JournalWriteFailed:
      break;
    case ProblemKind::NotUndone:
    case ProblemKind::DirectoryKept:
      return DialogText::NotMovedBack;
    case ProblemKind::ReplacedFileLost:
      return DialogText::ReplacedLost;
  }
  return DialogText::NotRenamed;
}

}  // namespace

std::string ProblemListText(const std::vector<Problem>& problems, CaptionLanguage language) {
  std::string text;
  for (DialogText group : {DialogText::NotRenamed, DialogText::RenamedNotMoved, DialogText::NotRead,
                           DialogText::NotMovedBack, DialogText::ReplacedLost}) {
    std::string lines;
    std::size_t count = 0;
    for (const Problem& problem : problems) {
      if (Group(problem.kind) != group) continue;
      ++count;
      lines += "    " + problem.path + ": " + problem.reason + "\n";
    }
    if (count > 0) {
      text += std::string(DialogCaption(group, language)) + " (" + std::to_string(count) + ")\n" +
              lines;
    }
  }
  return text;
}

}  // namespace tessaly
