#pragma once

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/FrontEnd.h"
#include "engine/RenameRun.h"
#include "platform/FileSystem.h"
#include "ui/WindowControls.h"
#include "ui/WindowServices.h"

namespace tessaly {

// The one window: directory choice, the three options, Start, the value
// labels and the count during a run, the rename list, the caption language
// and Close. It is the engine's front end while a run goes on; the run is
// carried out inside Start's handler, and the window's events are handled at
// the engine's hand-overs.
class Form1 final : public QWidget, public FrontEnd {
  Q_OBJECT

 public:
  Form1(FileSystem& fileSystem, WindowServices services, RenameListPlace listPlace,
        QWidget* parent = nullptr);

  // The shortest time between two repaints during a run; 0 repaints at
  // every hand-over.
  void SetFrameInterval(int milliseconds) { frameInterval_ = milliseconds; }

  const std::string& SelectedDirectory() const { return selectedDirectory_; }
  std::int64_t RenameCount() const { return run_.RenameCount(); }
  int LanguageIndex() const { return languageIndex_; }
  bool Running() const { return running_; }

  // The control handlers.
  void Command1Click();  // Select Directory
  void Command2Click();  // Start
  void Command3Click();  // Close
  void Command4Click();  // View Rename List
  void Command5Click();  // language

  // FrontEnd
  RenameOptions ReadOptions() override;
  void ShowDirectory(std::string_view directory) override;
  void ShowPicture(const ShownPicture& picture) override;
  void ShowCount(std::int64_t renameCount) override;
  RunControl HandOver() override;
  ReplaceAnswer AskReplace(const ReplaceQuestion& question) override;
  void ReportProblem(const Problem& problem) override;

 signals:
  // Emitted at every hand-over that repaints, after the labels are set.
  void HandedOver();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ApplyCaptions();
  void SetCommandsEnabled(bool enabled);
  void FlushLabels();

  FileSystem& fileSystem_;
  WindowServices services_;
  RenameListPlace listPlace_;
  RenameRun run_;

  QLabel* Label1;
  ElidedLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  ElidedLabel* Label6;
  QLabel* Label7;
  QLabel* Label8;
  ElidedLabel* Label9;
  QLabel* Label10;
  QLabel* Label11;
  QLabel* Label12;
  QLabel* Label13;
  QLabel* Label14;
  QLabel* Label15;
  QCheckBox* Check1;
  QCheckBox* Check2;
  QCheckBox* Check3;
  QPushButton* Command1;
  QPushButton* Command2;
  QPushButton* Command3;
  QPushButton* Command4;
  QPushButton* Command5;

  std::string selectedDirectory_;
  int languageIndex_ = 0;
  std::string renameListPath_;  // where the latest run that made a list put it
  QTranslator qtTranslator_;    // Qt's own texts in Chinese

  // During a run.
  bool running_ = false;
  bool closeRequested_ = false;  // the window was closed: stop, then close
  std::optional<ReplaceAnswer> replaceForAll_;
  std::vector<Problem> problems_;
  int frameInterval_ = 16;
  QElapsedTimer sinceFrame_;
  // Label texts not painted yet: directory, date, time, new name, file name, count.
  struct Pending {
    std::optional<std::string> directory;
    std::optional<ShownPicture> picture;
    std::optional<std::int64_t> count;
  } pending_;
};

}  // namespace tessaly
