#include "ui/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QLibraryInfo>

#include "ui/CaptionTable.h"
#include "ui/WindowControls.h"

namespace tessaly {
namespace {

// Positions in the window are given in twips; 15 twips make one pixel.
constexpr int kTwipsPerPixel = 15;

QRect Twips(int left, int top, int width, int height) {
  return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
               height / kTwipsPerPixel);
}

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

template <typename Widget, typename... Arguments>
Widget* Make(QWidget* parent, const char* name, QRect geometry, Arguments... arguments) {
  auto* widget = new Widget(arguments..., parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  return widget;
}

// The largest pixel sizes at which every caption of the language still fits
// its control: CJK captions are fewer letters, so Chinese reads larger. The
// values (paths and names, mostly Latin with descenders) stay at the first.
constexpr int kFontPixels[] = {10, 12};

// The CJK face carries Latin text too, so both languages look alike.
QFont WindowFont(int pixels) {
  QFont font(QStringLiteral("Noto Sans CJK TC"));
  font.setPixelSize(pixels);
  return font;
}

}  // namespace

Form1::Form1(FileSystem& fileSystem, WindowServices services, RenameListPlace listPlace,
             QWidget* parent)
    : QWidget(parent),
      fileSystem_(fileSystem),
      services_(services),
      listPlace_(std::move(listPlace)),
      run_(fileSystem, *this) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Brannock's Tessaly V2.1"));
  setFixedSize(8370 / kTwipsPerPixel, 1605 / kTwipsPerPixel);
  setFont(WindowFont(kFontPixels[0]));
  Label1 = Make<QLabel>(this, "Label1", Twips(60, 60, 795, 195));
  Label2 = Make<ElidedLabel>(this, "Label2", Twips(900, 60, 7395, 195), Qt::ElideMiddle);
  Label5 = Make<QLabel>(this, "Label5", Twips(540, 360, 975, 195));
  Label3 = Make<QLabel>(this, "Label3", Twips(1560, 360, 1335, 195));
  Label7 = Make<QLabel>(this, "Label7", Twips(3360, 360, 1035, 195));
  Label4 = Make<QLabel>(this, "Label4", Twips(4440, 360, 1335, 195));
  Check1 = Make<FittedCheckBox>(this, "Check1", Twips(5940, 360, 195, 195));
  Label13 = Make<QLabel>(this, "Label13", Twips(6180, 360, 2175, 195));
  Label8 = Make<QLabel>(this, "Label8", Twips(60, 660, 1455, 195));
  Label9 = Make<ElidedLabel>(this, "Label9", Twips(1560, 660, 4335, 195), Qt::ElideMiddle);
  Check2 = Make<FittedCheckBox>(this, "Check2", Twips(5940, 600, 195, 180));
  Label14 = Make<QLabel>(this, "Label14", Twips(6180, 600, 2175, 195));
  Label10 = Make<QLabel>(this, "Label10", Twips(300, 960, 1215, 195));
  Label6 = Make<ElidedLabel>(this, "Label6", Twips(1560, 960, 4275, 195), Qt::ElideLeft);
  Check3 = Make<FittedCheckBox>(this, "Check3", Twips(5940, 840, 195, 195));
  Label15 = Make<QLabel>(this, "Label15", Twips(6180, 840, 2175, 195));
  Command1 = Make<QPushButton>(this, "Command1", Twips(60, 1260, 1575, 315));
  Command2 = Make<QPushButton>(this, "Command2", Twips(1740, 1260, 675, 315));
  Label11 = Make<QLabel>(this, "Label11", Twips(2520, 1320, 1275, 195));
  Label12 = Make<QLabel>(this, "Label12", Twips(3840, 1320, 1095, 195));
  Command5 = Make<QPushButton>(this, "Command5", Twips(4980, 1260, 735, 315));
  Command4 = Make<QPushButton>(this, "Command4", Twips(5820, 1260, 1575, 315));
  Command3 = Make<QPushButton>(this, "Command3", Twips(7500, 1260, 855, 315));

  // The labels beside the check boxes carry their text; the boxes are named
  // after them for screen readers.
  Check1->setAccessibleName(Text(CaptionTable()[6].english));
  Check2->setAccessibleName(Text(CaptionTable()[7].english));
  Check3->setAccessibleName(Text(CaptionTable()[8].english));
  for (QPushButton* button : {Command1, Command2, Command3, Command4, Command5}) {
    button->setAutoDefault(false);
  }

  // Tab order of the controls that take the focus.
  QWidget* tabOrder[] = {Command1, Command2, Command3, Command4, Check1, Check2, Check3, Command5};
  for (std::size_t i = 0; i + 1 < std::size(tabOrder); ++i) {
    setTabOrder(tabOrder[i], tabOrder[i + 1]);
  }

  connect(Command1, &QPushButton::clicked, this, &Form1::Command1Click);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2Click);
  connect(Command3, &QPushButton::clicked, this, &Form1::Command3Click);
  connect(Command4, &QPushButton::clicked, this, &Form1::Command4Click);
  connect(Command5, &QPushButton::clicked, this, &Form1::Command5Click);

  // Load.
  languageIndex_ = 0;
  Command2->setEnabled(false);
  Command4->setEnabled(false);
  Check1->setChecked(true);
  Check2->setChecked(false);
  Check3->setChecked(false);
  ApplyCaptions();
}

void Form1::ApplyCaptions() {
  const QFont captionFont = WindowFont(kFontPixels[languageIndex_]);
  for (const CaptionRow& row : CaptionTable()) {
    QWidget* control = findChild<QWidget*>(Text(row.control), Qt::FindDirectChildrenOnly);
    control->setFont(captionFont);
    const QString caption = Text(languageIndex_ == 0 ? row.english : row.chinese);
    if (auto* label = qobject_cast<QLabel*>(control)) {
      label->setText(caption);
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
      button->setText(caption);
    }
  }
}

void Form1::Command1Click() {
  FileDialog& dialog = *services_.fileDialog;
  dialog.SetTitle(QStringLiteral("點選任一檔案"));
  dialog.SetFilter(QStringLiteral("Design Files (*.*)"));
  dialog.ShowOpen();
  const QByteArray chosen = dialog.FileName().toUtf8();
  if (!chosen.isEmpty()) {
    const std::string file(chosen.constData(), static_cast<std::size_t>(chosen.size()));
    const std::size_t slash = file.rfind('/');
    if (slash != std::string::npos) {
      selectedDirectory_ = file.substr(0, slash + 1);
      Label2->SetFullText(Text(selectedDirectory_));
    }
  }
  Command2->setEnabled(true);
}

void Form1::Command2Click() {
  if (selectedDirectory_.empty() || running_) return;
  problems_.clear();
  replaceForAll_.reset();
  running_ = true;
  SetCommandsEnabled(false);
  sinceFrame_.start();

  RunOutcome outcome = run_.StartRun(selectedDirectory_, listPlace_);

  FlushLabels();
  running_ = false;
  if (!outcome.renameListPath.empty()) renameListPath_ = outcome.renameListPath;
  SetCommandsEnabled(true);
  if (outcome.status == RunStatus::ListNotCreated ||
      outcome.status == RunStatus::DirectoryMissing) {
    services_.messages->ShowError(QStringLiteral("Tessaly"),
                                  Text(outcome.reason) + QStringLiteral("\n\n") +
                                      DialogCaption(DialogText::NothingRenamed, languageIndex_));
  }
  if (closeRequested_) {
    close();
    return;
  }
  if (!problems_.empty()) services_.messages->ShowProblems(problems_, languageIndex_);
}

void Form1::Command3Click() {
  close();
}

void Form1::Command4Click() {
  if (renameListPath_.empty()) return;
  FsResult<PathStatus> status = fileSystem_.StatusOf(renameListPath_, true);
  if (!status.ok() || status->type != EntryType::Regular) return;
  services_.viewer->Open(Text(renameListPath_));
}

void Form1::Command5Click() {
  languageIndex_ = languageIndex_ == 0 ? 1 : 0;
  ApplyCaptions();
  // Qt's own dialog texts (the file dialog's) follow, where Qt's
  // translations are installed.
  if (languageIndex_ == 1 &&
      qtTranslator_.load(QStringLiteral("qtbase_zh_TW"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qtTranslator_);
  } else {
    QCoreApplication::removeTranslator(&qtTranslator_);
  }
}

void Form1::SetCommandsEnabled(bool enabled) {
  for (QPushButton* button : {Command1, Command2, Command3}) {
    button->setEnabled(enabled);
  }
  // Only a list that a run has made can be viewed.
  Command4->setEnabled(enabled && !renameListPath_.empty());
}

RenameOptions Form1::ReadOptions() {
  return RenameOptions{.DateDirectories = Check1->isChecked(),
                       .MakerPrefix = Check2->isChecked(),
                       .ModelPrefix = Check3->isChecked()};
}

void Form1::ShowDirectory(std::string_view directory) {
  pending_.directory = std::string(directory);
}

void Form1::ShowPicture(const ShownPicture& picture) {
  pending_.picture = picture;
}

void Form1::ShowCount(std::int64_t renameCount) {
  pending_.count = renameCount;
}

void Form1::FlushLabels() {
  if (pending_.directory) Label2->SetFullText(Text(*pending_.directory));
  if (pending_.picture) {
    Label3->setText(Text(pending_.picture->DateText));
    Label4->setText(Text(pending_.picture->TimeText));
    Label6->SetFullText(Text(pending_.picture->NewName));
    Label9->SetFullText(Text(pending_.picture->FileName));
  }
  if (pending_.count) Label12->setText(QString::number(*pending_.count));
  pending_ = Pending{};
}

RunControl Form1::HandOver() {
  // Painting is held back to the frame interval: a run of many small
  // pictures is not slowed down by repaints nobody could see.
  if (frameInterval_ <= 0 || sinceFrame_.elapsed() >= frameInterval_) {
    FlushLabels();
    QApplication::processEvents();
    sinceFrame_.restart();
    emit HandedOver();
  }
  return closeRequested_ ? RunControl::Stop : RunControl::Continue;
}

ReplaceAnswer Form1::AskReplace(const ReplaceQuestion& question) {
  if (replaceForAll_) return *replaceForAll_;
  FlushLabels();
  switch (services_.replaceAsker->Ask(ReplaceQuestionCaptions(languageIndex_),
                                      Text(question.picturePath), Text(question.existingPath))) {
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

void Form1::ReportProblem(const Problem& problem) {
  // Listed when the run ends, a failed move into a date directory too: a
  // box for each would stop an unattended run at every picture.
  problems_.push_back(problem);
}

void Form1::closeEvent(QCloseEvent* event) {
  if (running_) {
    // Stop after the current picture; the run closes its list and the
    // window goes once it has.
    closeRequested_ = true;
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace tessaly
