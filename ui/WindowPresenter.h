#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/FrontEnd.h"
#include "engine/RenameRun.h"
#include "platform/FileSystem.h"
#include "ui/CaptionTable.h"
#include "ui/WindowView.h"

namespace tessaly {

// What a request to close the window gets: it may close now, or the run
// that is going on stops first and the window closes once it has.
enum class CloseAnswer { CloseNow, AfterTheRun };

// Everything the window decides, whatever toolkit draws it: the state at
// load, the enabled states, the captions in both languages, the chosen
// directory, the run (as the engine's front end, painting at most once a
// frame), the replace question's "to All" answers, the problem list, the
// rename list to view, closing during a run, and the menu: the preview of a
// run, the undo of the last run (of the window or the command line) and the
// journal folder. The view shows what it is told and hands every button's
// click to Click(), every menu entry chosen to Choose().
class WindowPresenter final : public FrontEnd {
 public:
  WindowPresenter(WindowView& view, FileSystem& fileSystem, RenameListPlace listPlace);

  // Sets the view to the state at load: English captions, Start and View
  // Rename List disabled, the date directory box ticked.
  void Load();

  // A click on `button`, whichever view it came from. During a preview the
  // Close button stops the preview.
  void Click(Control button);

  // A menu entry chosen, by the menu or its shortcut; one that is disabled
  // does nothing.
  void Choose(MenuEntry entry);
  // Looks again for the latest journal (a command-line run may have made
  // one) and sets the menu's entries: for the view to call before it shows
  // the menu.
  void RefreshMenu();

  void SelectDirectory();
  void Start();
  void ViewRenameList();
  void SwitchLanguage();
  // The run over a preview of the file system, the window's labels left
  // alone, then its review; the review's Start starts the run.
  void Preview();
  // The latest journal's undo: what it would do shown first, done when the
  // user agrees, then the list of what was refused.
  void UndoLastRun();
  void OpenJournalFolder();

  // The user asks to close the window (a close button, the title bar, the
  // system): during a run the run is asked to stop and the view is closed
  // when it has.
  CloseAnswer CloseRequested();

  // The shortest time between two repaints during a run; zero repaints at
  // every hand-over.
  void SetFrameInterval(std::chrono::milliseconds interval) { frameInterval_ = interval; }

  const std::string& SelectedDirectory() const { return selectedDirectory_; }
  std::int64_t RenameCount() const { return run_.RenameCount(); }
  CaptionLanguage Language() const { return language_; }
  bool Running() const { return activity_ != Activity::Idle; }

  // FrontEnd
  RenameOptions ReadOptions() override;
  void ShowDirectory(std::string_view directory) override;
  void ShowPicture(const ShownPicture& picture) override;
  void ShowCount(std::int64_t renameCount) override;
  RunControl HandOver() override;
  ReplaceAnswer AskReplace(const ReplaceQuestion& question) override;
  void ReportProblem(const Problem& problem) override;

 private:
  void ApplyCaptions();
  void SetCommandsEnabled(bool enabled);
  void ShowPendingValues();
  void ReportEnd(const RunOutcome& outcome);
  bool ReportNotStarted(const RunOutcome& outcome);
  void ShowProblemList(DialogText title);
  // Opens `path` in the user's viewer, saying why when it cannot.
  void Open(const std::string& path);
  bool MenuEnabled(MenuEntry entry) const;
  void UpdateMenu();

  enum class Activity { Idle, Running, Previewing, Undoing };
  void Begin(Activity activity);
  void End();
  // The paced repaint and hand-over of a run, a preview or an undo.
  RunControl PacedHandOver();

  // The front end of a preview: options from the window, values not shown,
  // the count as progress, no replace question asked.
  class PreviewFrontEnd;

  WindowView& view_;
  FileSystem& fileSystem_;
  RenameListPlace listPlace_;
  RenameRun run_;

  std::string selectedDirectory_;
  CaptionLanguage language_ = CaptionLanguage::English;
  std::string renameListPath_;  // where the latest run that made a list put it
  std::string latestJournal_;   // the journal undo would take; empty when none

  // During a run, a preview or an undo.
  Activity activity_ = Activity::Idle;
  bool closeRequested_ = false;  // the window was closed: stop, then close
  bool previewStopped_ = false;  // Close was pressed during a preview
  std::optional<ReplaceAnswer> replaceForAll_;
  std::vector<Problem> problems_;
  std::chrono::milliseconds frameInterval_{16};
  std::chrono::steady_clock::time_point lastFrame_;
  // Values not shown yet.
  struct Pending {
    std::optional<std::string> directory;
    std::optional<ShownPicture> picture;
    std::optional<std::int64_t> count;
  } pending_;
};

}  // namespace tessaly
