#include "ui/WindowPresenter.h"

#include "core/Path.h"
#include "engine/MakeDirectories.h"
#include "engine/RunPreview.h"
#include "ui/ProblemListText.h"

namespace tessaly {
namespace {

ReplaceQuestionWords ReplaceWordsIn(CaptionLanguage language) {
  auto words = [language](DialogText text) { return std::string(DialogCaption(text, language)); };
  return {words(DialogText::ReplaceTitle),
          words(DialogText::ReplaceQuestion),
          words(DialogText::ReplaceFileFacts),
          words(DialogText::Yes),
          words(DialogText::No),
          words(DialogText::YesToAll),
          words(DialogText::NoToAll)};
}

// The caption of `control` in `language`.
std::string CaptionOf(Control control, CaptionLanguage language) {
  for (const CaptionRow& row : CaptionTable()) {
    if (row.control == control) return std::string(CaptionIn(row, language));
  }
  return {};
}

// `path` relative to `root` (a directory ending in a separator) where it
// lies below it.
std::string_view Below(std::string_view path, std::string_view root) {
  if (!root.empty() && path.starts_with(root)) path.remove_prefix(root.size());
  return path;
}

// A line of the rename list, "old--->new", as "old → new" relative to `root`.
// A path may hold "--->" itself: the arrow is the one the new path, which
// lies below the root too, follows.
std::string RelativeChange(std::string_view line, const std::string& root) {
  std::size_t arrow = line.find("--->" + root);
  if (arrow == std::string_view::npos) arrow = line.find("--->");
  if (arrow == std::string_view::npos) return std::string(line);
  return std::string(Below(line.substr(0, arrow), root)) + " → " +
         std::string(Below(line.substr(arrow + 4), root));
}

}  // namespace

// A preview's side of the engine: the options are the window's, the values
// are not shown (the count is, as progress), and a replace question is not
// asked: the file is kept and the clash listed as one that would ask. The
// problems' paths are relative to `root`, as the changes are.
class WindowPresenter::PreviewFrontEnd final : public FrontEnd {
 public:
  PreviewFrontEnd(WindowPresenter& presenter, std::string root)
      : presenter_(presenter), root_(std::move(root)) {}

  RenameOptions ReadOptions() override { return presenter_.ReadOptions(); }
  void ShowDirectory(std::string_view) override {}
  void ShowPicture(const ShownPicture&) override {}
  void ShowCount(std::int64_t count) override { presenter_.pending_.count = count; }
  RunControl HandOver() override { return presenter_.PacedHandOver(); }
  ReplaceAnswer AskReplace(const ReplaceQuestion& question) override {
    asked_ = question;
    return ReplaceAnswer::Keep;
  }
  void ReportProblem(const Problem& problem) override {
    Problem shown{problem.kind, std::string(Below(problem.path, root_)), problem.reason};
    if (asked_ && asked_->picturePath == problem.path &&
        (problem.kind == ProblemKind::RenameDeclined ||
         problem.kind == ProblemKind::SubDirectoryMoveFailed)) {
      shown.reason = FillIn(DialogCaption(DialogText::WouldAskReplace, presenter_.language_),
                            {Below(asked_->existingPath, root_)});
    }
    asked_.reset();
    presenter_.problems_.push_back(std::move(shown));
  }

 private:
  WindowPresenter& presenter_;
  std::string root_;
  std::optional<ReplaceQuestion> asked_;  // the question that was not asked
};

WindowPresenter::WindowPresenter(WindowView& view, FileSystem& fileSystem,
                                 RenameListPlace listPlace)
    : view_(view),
      fileSystem_(fileSystem),
      listPlace_(std::move(listPlace)),
      run_(fileSystem, *this) {}

void WindowPresenter::Load() {
  language_ = CaptionLanguage::English;
  view_.SetTitle(kWindowTitle);
  view_.SetEnabled(Control::Start, false);
  view_.SetEnabled(Control::ViewRenameList, false);
  view_.SetChecked(Control::DateDirectoriesBox, true);
  view_.SetChecked(Control::MakerBox, false);
  view_.SetChecked(Control::ModelBox, false);
  ApplyCaptions();
  RefreshMenu();
}

void WindowPresenter::Click(Control button) {
  if (button == Control::SelectDirectory) {
    SelectDirectory();
  } else if (button == Control::Start) {
    Start();
  } else if (button == Control::Close && activity_ == Activity::Previewing) {
    previewStopped_ = true;
  } else if (button == Control::Close) {
    view_.Close();
  } else if (button == Control::ViewRenameList) {
    ViewRenameList();
  } else if (button == Control::Language) {
    SwitchLanguage();
  }
}

void WindowPresenter::Choose(MenuEntry entry) {
  RefreshMenu();
  if (!MenuEnabled(entry)) return;
  switch (entry) {
    case MenuEntry::Preview:
      return Preview();
    case MenuEntry::UndoLastRun:
      return UndoLastRun();
    case MenuEntry::OpenJournalFolder:
      return OpenJournalFolder();
  }
}

bool WindowPresenter::MenuEnabled(MenuEntry entry) const {
  switch (entry) {
    case MenuEntry::Preview:
      return activity_ == Activity::Idle && !selectedDirectory_.empty();
    case MenuEntry::UndoLastRun:
      return activity_ == Activity::Idle && !latestJournal_.empty();
    case MenuEntry::OpenJournalFolder:
      return !listPlace_.journalDirectory.empty();
  }
  return false;
}

void WindowPresenter::RefreshMenu() {
  if (activity_ != Activity::Idle) return;
  latestJournal_ = listPlace_.journalDirectory.empty()
                       ? std::string()
                       : LatestJournal(fileSystem_, listPlace_.journalDirectory);
  UpdateMenu();
}

void WindowPresenter::UpdateMenu() {
  static constexpr DialogText kCaptions[] = {DialogText::MenuPreview, DialogText::MenuUndo,
                                             DialogText::MenuJournalFolder};
  for (MenuEntry entry : kMenuEntries) {
    view_.SetMenuEntry(entry, DialogCaption(kCaptions[static_cast<int>(entry)], language_),
                       MenuEnabled(entry));
  }
}

void WindowPresenter::ApplyCaptions() {
  view_.SetLanguage(language_);
  for (const CaptionRow& row : CaptionTable()) {
    view_.SetText(row.control, CaptionIn(row, language_));
  }
  UpdateMenu();
}

void WindowPresenter::SelectDirectory() {
  // A cancelled dialog names the file chosen the time before, which keeps
  // the directory as it was.
  const std::string file =
      view_.ChooseFile(kDirectoryDialogTitle, kAllFilesFilterName, kAllFilesFilterPattern);
  if (const std::string_view directory = DirectoryOf(file); !directory.empty()) {
    selectedDirectory_ = directory;
    view_.SetText(Control::DirectoryValue, selectedDirectory_);
  }
  view_.SetEnabled(Control::Start, true);
  UpdateMenu();
}

void WindowPresenter::Start() {
  if (selectedDirectory_.empty() || Running()) return;
  Begin(Activity::Running);
  const RunOutcome outcome = run_.StartRun(selectedDirectory_, listPlace_);
  ShowPendingValues();
  if (!outcome.renameListPath.empty()) renameListPath_ = outcome.renameListPath;
  End();
  ReportEnd(outcome);
}

void WindowPresenter::Begin(Activity activity) {
  activity_ = activity;
  problems_.clear();
  replaceForAll_.reset();
  previewStopped_ = false;
  SetCommandsEnabled(false);
  UpdateMenu();
  lastFrame_ = std::chrono::steady_clock::now();
}

void WindowPresenter::End() {
  const bool counted = activity_ != Activity::Running;
  activity_ = Activity::Idle;
  // A preview's progress and an undo's count give the count back to the run.
  if (counted) {
    view_.SetText(Control::CountValue,
                  run_.RenameCount() > 0 ? std::to_string(run_.RenameCount()) : std::string());
  }
  SetCommandsEnabled(true);
  RefreshMenu();
}

void WindowPresenter::Preview() {
  Begin(Activity::Previewing);
  const std::string root = WithFinalSeparator(NativePathText(selectedDirectory_));
  PreviewFrontEnd frontEnd(*this, root);
  std::string changes;
  const PreviewOutcome outcome = PreviewRenameRun(
      fileSystem_, frontEnd, selectedDirectory_, listPlace_,
      [&](std::string_view line) { changes += RelativeChange(line, root) + "\n"; });
  pending_ = Pending{};
  End();
  if (closeRequested_) return view_.Close();
  if (ReportNotStarted(outcome.run) || previewStopped_) return;
  const RunSummary& summary = outcome.run.summary;
  auto number = [](std::int64_t n) { return std::to_string(n); };
  const ReviewTexts review{
      std::string(DialogCaption(DialogText::PreviewTitle, language_)),
      FillIn(DialogCaption(DialogText::PreviewCounts, language_),
             {number(summary.renamed), number(summary.movedIntoDateDirectories),
              number(static_cast<std::int64_t>(summary.dateDirectories.size())),
              number(outcome.handled - summary.renamed), number(summary.passedOver)}),
      changes,
      ProblemListText(problems_, language_),
      CaptionOf(Control::Start, language_),
      std::string(DialogCaption(DialogText::Close, language_)),
      ReviewButton::Close};
  if (view_.ShowReview(review) == ReviewButton::Proceed) Start();
}

void WindowPresenter::UndoLastRun() {
  const std::string journal = latestJournal_;
  const std::string title(DialogCaption(DialogText::UndoTitle, language_));
  const std::string nothingUndone(DialogCaption(DialogText::NothingUndone, language_));
  // Held from the first look to the end: a run still writing the journal, or
  // an undo of the command line, refuses it.
  FsResult<std::unique_ptr<AppendFile>> held = HoldJournal(fileSystem_, journal);
  if (!held.ok() && held.error() == FsError::InUse) {
    return view_.ShowError(
        title, FillIn(DialogCaption(DialogText::UndoInUse, language_), {journal}) + "\n\n" +
                   nothingUndone);
  }
  JournalReader header;
  header.Open(fileSystem_, journal);
  const std::string root = header.WalkedDirectory();
  std::string changes;
  Begin(Activity::Previewing);
  PreviewFrontEnd frontEnd(*this, root);
  const UndoOutcome preview = PreviewUndo(
      fileSystem_, frontEnd, journal, [&](const std::string& to, const std::string& from) {
        changes += std::string(Below(to, root)) + " → " + std::string(Below(from, root)) + "\n";
      });
  pending_ = Pending{};
  End();
  if (closeRequested_) return view_.Close();
  if (previewStopped_) return;
  if (preview.failure != JournalReadFailure::None) {
    return view_.ShowError(title, journal + ": " + preview.reason + "\n\n" + nothingUndone);
  }
  if (NothingToUndo(preview)) {
    return view_.ShowMessage(title, DialogCaption(DialogText::NothingToUndo, language_));
  }
  const ReviewTexts review{
      title,
      FillIn(DialogCaption(DialogText::UndoCounts, language_),
             {std::to_string(preview.movedBack), std::to_string(preview.directoriesRemoved),
              std::to_string(preview.refused)}),
      changes,
      ProblemListText(problems_, language_),
      std::string(DialogCaption(DialogText::Undo, language_)),
      std::string(DialogCaption(DialogText::Cancel, language_)),
      ReviewButton::Proceed};
  if (view_.ShowReview(review) != ReviewButton::Proceed) return;
  Begin(Activity::Undoing);
  UndoJournal(fileSystem_, *this, journal);
  ShowPendingValues();
  End();
  if (closeRequested_) return view_.Close();
  ShowProblemList(DialogText::UndoTitle);
}

void WindowPresenter::OpenJournalFolder() {
  // Made when no run has kept a journal yet, so that there is a folder to open.
  if (std::error_code made = MakeDirectories(fileSystem_, listPlace_.journalDirectory)) {
    return view_.ShowError("Tessaly", FillIn(DialogCaption(DialogText::NotOpened, language_),
                                             {listPlace_.journalDirectory, made.message()}));
  }
  Open(listPlace_.journalDirectory);
}

bool WindowPresenter::ReportNotStarted(const RunOutcome& outcome) {
  if (outcome.status != RunStatus::ListNotCreated &&
      outcome.status != RunStatus::DirectoryMissing) {
    return false;
  }
  view_.ShowError("Tessaly", outcome.reason + "\n\n" +
                                 std::string(DialogCaption(DialogText::NothingRenamed, language_)));
  return true;
}

void WindowPresenter::ReportEnd(const RunOutcome& outcome) {
  ReportNotStarted(outcome);
  if (closeRequested_) {
    view_.Close();
    return;
  }
  ShowProblemList(DialogText::ProblemsTitle);
}

void WindowPresenter::ShowProblemList(DialogText title) {
  if (problems_.empty()) return;
  const std::string count = std::to_string(problems_.size());
  view_.ShowProblems({std::string(DialogCaption(title, language_)),
                      FillIn(DialogCaption(DialogText::ProblemsCount, language_), {count}),
                      ProblemListText(problems_, language_),
                      std::string(DialogCaption(DialogText::Copy, language_)),
                      std::string(DialogCaption(DialogText::Close, language_))});
}

void WindowPresenter::ViewRenameList() {
  if (renameListPath_.empty()) return;
  FsResult<PathStatus> status = fileSystem_.StatusOf(renameListPath_, SymbolicLinks::Follow);
  if (!status.ok() || status->type != EntryType::Regular) return;
  Open(renameListPath_);
}

void WindowPresenter::Open(const std::string& path) {
  const OpenResult opened = view_.OpenInViewer(path);
  if (opened.status == OpenStatus::Failed) {
    view_.ShowError("Tessaly",
                    FillIn(DialogCaption(DialogText::NotOpened, language_), {path, opened.reason}));
  }
}

void WindowPresenter::SwitchLanguage() {
  language_ =
      language_ == CaptionLanguage::English ? CaptionLanguage::Chinese : CaptionLanguage::English;
  ApplyCaptions();
}

CloseAnswer WindowPresenter::CloseRequested() {
  if (activity_ == Activity::Idle) return CloseAnswer::CloseNow;
  // Stop after the current picture; the run closes its list and the
  // window goes once it has.
  closeRequested_ = true;
  return CloseAnswer::AfterTheRun;
}

void WindowPresenter::SetCommandsEnabled(bool enabled) {
  for (Control button : {Control::SelectDirectory, Control::Start}) {
    view_.SetEnabled(button, enabled);
  }
  // Close stops a preview.
  view_.SetEnabled(Control::Close, enabled || activity_ == Activity::Previewing);
  // Only a list that a run has made can be viewed.
  view_.SetEnabled(Control::ViewRenameList, enabled && !renameListPath_.empty());
}

RenameOptions WindowPresenter::ReadOptions() {
  return RenameOptions{.dateDirectories = view_.IsChecked(Control::DateDirectoriesBox),
                       .makerPrefix = view_.IsChecked(Control::MakerBox),
                       .modelPrefix = view_.IsChecked(Control::ModelBox)};
}

void WindowPresenter::ShowDirectory(std::string_view directory) {
  pending_.directory = std::string(directory);
}

void WindowPresenter::ShowPicture(const ShownPicture& picture) {
  pending_.picture = picture;
}

void WindowPresenter::ShowCount(std::int64_t renameCount) {
  pending_.count = renameCount;
}

void WindowPresenter::ShowPendingValues() {
  if (pending_.directory) view_.SetText(Control::DirectoryValue, *pending_.directory);
  if (pending_.picture) {
    view_.SetText(Control::DateValue, pending_.picture->dateText);
    view_.SetText(Control::TimeValue, pending_.picture->timeText);
    view_.SetText(Control::NewNameValue, pending_.picture->newName);
    view_.SetText(Control::FileNameValue, pending_.picture->fileName);
  }
  if (pending_.count) {
    const std::string count = std::to_string(*pending_.count);
    view_.SetText(Control::CountValue,
                  activity_ == Activity::Previewing
                      ? FillIn(DialogCaption(DialogText::PreviewProgress, language_), {count})
                      : count);
  }
  pending_ = Pending{};
}

RunControl WindowPresenter::HandOver() {
  return PacedHandOver();
}

RunControl WindowPresenter::PacedHandOver() {
  // Painting is held back to the frame interval: a run of many small
  // pictures is not slowed down by repaints nobody could see.
  const auto now = std::chrono::steady_clock::now();
  if (now - lastFrame_ >= frameInterval_) {
    ShowPendingValues();
    view_.HandOver();
    lastFrame_ = now;
  }
  return closeRequested_ || previewStopped_ ? RunControl::Stop : RunControl::Continue;
}

ReplaceAnswer WindowPresenter::AskReplace(const ReplaceQuestion& question) {
  if (replaceForAll_) return *replaceForAll_;
  ShowPendingValues();
  switch (
      view_.AskReplace(ReplaceWordsIn(language_), question.picturePath, question.existingPath)) {
    case ReplaceChoice::Yes:
      return ReplaceAnswer::Replace;
    case ReplaceChoice::No:
      return ReplaceAnswer::Keep;
    case ReplaceChoice::YesToAll:
      replaceForAll_ = ReplaceAnswer::Replace;
      return ReplaceAnswer::Replace;
    case ReplaceChoice::NoToAll:
      replaceForAll_ = ReplaceAnswer::Keep;
      return ReplaceAnswer::Keep;
  }
  return ReplaceAnswer::Keep;
}

void WindowPresenter::ReportProblem(const Problem& problem) {
  // Listed when the run ends, a failed move into a date directory too: a
  // box for each would stop an unattended run at every picture.
  problems_.push_back(problem);
}

}  // namespace tessaly
