#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/RenameOptions.h"

namespace tessaly {

// What the window shows for the picture being handled.
struct ShownPicture {
  std::string dateText;  // as read, in UTF-8
  std::string timeText;
  std::string newName;
  std::string fileName;  // the present name, without directory
};

enum class RunControl { Continue, Stop };

enum class ReplaceAnswer { Replace, Keep };

// Asked before a move would replace `existingPath` with `picturePath`.
struct ReplaceQuestion {
  std::string picturePath;
  std::string existingPath;
};

enum class ProblemKind {
  PictureUnreadable,       // the picture could not be opened or read
  HeaderLimit,             // the header exceeds the reader's limits
  NotRegularFile,          // a picture name on a link, FIFO, socket or device
  UnusableName,            // the new name would hold a control character
  RenameFailed,            // the rename in the picture's own directory failed
  RenameDeclined,          // the user kept the file that the rename would replace
  NoFreeName,              // every suffix up to 32766 is taken
  SubDirectoryMoveFailed,  // the move into the date sub-directory failed
  DirectoryUnreadable,     // a directory could not be listed
  EntryUnreadable,         // the type of a directory entry could not be read
  LinkNotFollowed,         // a symbolic link to a directory, not entered
  RenameListWriteFailed,   // a line could not be written; the run stops
  JournalWriteFailed,      // a journal record could not be written; the run stops
  NotUndone,         // undo left a change as it is: the file changed, or its old place is taken
  ReplacedFileLost,  // undo moved a picture back, but the file it replaced is gone
  DirectoryKept,     // undo kept a directory that the run made: it is not empty
};

struct Problem {
  ProblemKind kind;
  std::string path;
  std::string reason;
};

// The engine's one way to its front end (the window, the command line, a
// test). Every call comes from the thread that runs the engine.
class FrontEnd {
 public:
  virtual ~FrontEnd() = default;
  // The options as they stand now. They are read afresh at each point that
  // needs one, never copied at the start of a run, so that a box changed
  // during a run applies from its next reading on.
  virtual RenameOptions ReadOptions() = 0;
  virtual void ShowDirectory(std::string_view directory) = 0;
  virtual void ShowPicture(const ShownPicture& picture) = 0;
  virtual void ShowCount(std::int64_t renameCount) = 0;
  // Lets the front end repaint and handle its events; Stop ends the run
  // after the current picture.
  virtual RunControl HandOver() = 0;
  virtual ReplaceAnswer AskReplace(const ReplaceQuestion& question) = 0;
  // A picture or directory that was passed over, or a move that failed. The
  // run goes on.
  virtual void ReportProblem(const Problem& problem) = 0;
};

}  // namespace tessaly
