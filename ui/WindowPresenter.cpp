#include "ui/WindowPresenter.h"

#include "core/Path.h"
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

}  // namespace

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
}

void WindowPresenter::Click(Control button) {
  if (button == Control::SelectDirectory) {
    SelectDirectory();
  } else if (button == Control::Start) {
    Start();
  } else if (button == Control::Close) {
    view_.Close();
  } else if (button == Control::ViewRenameList) {
    ViewRenameList();
  } else if (button == Control::Language) {
    SwitchLanguage();
  }
}

void WindowPresenter::ApplyCaptions() {
  view_.SetLanguage(language_);
  for (const CaptionRow& row : CaptionTable()) {
    view_.SetText(row.control, CaptionIn(row, language_));
  }
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
}

void WindowPresenter::Start() {
  if (selectedDirectory_.empty() || running_) return;
  problems_.clear();
  replaceForAll_.reset();
  running_ = true;
  SetCommandsEnabled(false);
  lastFrame_ = std::chrono::steady_clock::now();

  const RunOutcome outcome = run_.StartRun(selectedDirectory_, listPlace_);

  ShowPendingValues();
  running_ = false;
  if (!outcome.renameListPath.empty()) renameListPath_ = outcome.renameListPath;
  SetCommandsEnabled(true);
  ReportEnd(outcome);
}

void WindowPresenter::ReportEnd(const RunOutcome& outcome) {
  if (outcome.status == RunStatus::ListNotCreated ||
      outcome.status == RunStatus::DirectoryMissing) {
    view_.ShowError("Tessaly",
                    outcome.reason + "\n\n" +
                        std::string(DialogCaption(DialogText::NothingRenamed, language_)));
  }
  if (closeRequested_) {
    view_.Close();
    return;
  }
  if (problems_.empty()) return;
  const std::string count = std::to_string(problems_.size());
  view_.ShowProblems({std::string(DialogCaption(DialogText::ProblemsTitle, language_)),
                      FillIn(DialogCaption(DialogText::ProblemsCount, language_), {count}),
                      ProblemListText(problems_, language_),
                      std::string(DialogCaption(DialogText::Copy, language_)),
                      std::string(DialogCaption(DialogText::Close, language_))});
}

void WindowPresenter::ViewRenameList() {
  if (renameListPath_.empty()) return;
  FsResult<PathStatus> status = fileSystem_.StatusOf(renameListPath_, SymbolicLinks::Follow);
  if (!status.ok() || status->type != EntryType::Regular) return;
  const OpenResult opened = view_.OpenInViewer(renameListPath_);
  if (opened.status == OpenStatus::Failed) {
    view_.ShowError("Tessaly", FillIn(DialogCaption(DialogText::NotOpened, language_),
                                      {renameListPath_, opened.reason}));
  }
}

void WindowPresenter::SwitchLanguage() {
  language_ =
      language_ == CaptionLanguage::English ? CaptionLanguage::Chinese : CaptionLanguage::English;
  ApplyCaptions();
}

CloseAnswer WindowPresenter::CloseRequested() {
  if (!running_) return CloseAnswer::CloseNow;
  // Stop after the current picture; the run closes its list and the
  // window goes once it has.
  closeRequested_ = true;
  return CloseAnswer::AfterTheRun;
}

void WindowPresenter::SetCommandsEnabled(bool enabled) {
  for (Control button : {Control::SelectDirectory, Control::Start, Control::Close}) {
    view_.SetEnabled(button, enabled);
  }
  // Only a list that a run has made can be viewed.
  view_.SetEnabled(Control::ViewRenameList, enabled && !renameListPath_.empty());
}

RenameOptions WindowPresenter::ReadOptions() {
  return RenameOptions{.DateDirectories = view_.IsChecked(Control::DateDirectoriesBox),
                       .MakerPrefix = view_.IsChecked(Control::MakerBox),
                       .ModelPrefix = view_.IsChecked(Control::ModelBox)};
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
    view_.SetText(Control::DateValue, pending_.picture->DateText);
    view_.SetText(Control::TimeValue, pending_.picture->TimeText);
    view_.SetText(Control::NewNameValue, pending_.picture->NewName);
    view_.SetText(Control::FileNameValue, pending_.picture->FileName);
  }
  if (pending_.count) view_.SetText(Control::CountValue, std::to_string(*pending_.count));
  pending_ = Pending{};
}

RunControl WindowPresenter::HandOver() {
  // Painting is held back to the frame interval: a run of many small
  // pictures is not slowed down by repaints nobody could see.
  const auto now = std::chrono::steady_clock::now();
  if (now - lastFrame_ >= frameInterval_) {
    ShowPendingValues();
    view_.HandOver();
    lastFrame_ = now;
  }
  return closeRequested_ ? RunControl::Stop : RunControl::Continue;
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
