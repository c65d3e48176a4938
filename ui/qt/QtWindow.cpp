#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFont>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "ui/qt/ProblemListDialog.h"
#include "ui/qt/ReviewDialog.h"
#include "ui/qt/WindowControls.h"

namespace tessaly {
namespace {

// 15 twips make one pixel.
constexpr int kTwipsPerPixel = 15;

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Utf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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

QWidget* MakeControl(const ControlPlace& place, QWidget* parent) {
  QWidget* widget = nullptr;
  switch (place.kind) {
    case ControlKind::Caption:
      widget = new QLabel(parent);
      break;
    case ControlKind::Value:
      widget =
          new ElidedLabel(place.kept == KeptPart::End ? Qt::ElideLeft : Qt::ElideMiddle, parent);
      break;
    case ControlKind::CheckBox:
      widget = new FittedCheckBox(parent);
      break;
    case ControlKind::Button:
      widget = new QPushButton(parent);
      static_cast<QPushButton*>(widget)->setAutoDefault(false);
      break;
  }
  widget->setObjectName(Text(place.name));
  const TwipsRect& r = place.twips;
  widget->setGeometry(r.left / kTwipsPerPixel, r.top / kTwipsPerPixel, r.width / kTwipsPerPixel,
                      r.height / kTwipsPerPixel);
  return widget;
}

}  // namespace

QtWindow::QtWindow(FileSystem& fileSystem, QtWindowServices services, RenameListPlace listPlace,
                   QWidget* parent)
    : QWidget(parent), services_(services), presenter_(*this, fileSystem, std::move(listPlace)) {
  setObjectName(QStringLiteral("Form1"));
  setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
  setFont(WindowFont(kFontPixels[0]));
  std::vector<const ControlPlace*> tabOrder;
  for (const ControlPlace& place : WindowLayout()) {
    QWidget* widget = MakeControl(place, this);
    controls_[static_cast<std::size_t>(place.control)] = widget;
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      const Control control = place.control;
      connect(button, &QPushButton::clicked, this, [this, control] { presenter_.Click(control); });
    }
    if (place.kind == ControlKind::Button || place.kind == ControlKind::CheckBox) {
      tabOrder.push_back(&place);
    }
  }
  std::sort(tabOrder.begin(), tabOrder.end(),
            [](const ControlPlace* a, const ControlPlace* b) { return a->tabIndex < b->tabIndex; });
  for (std::size_t i = 0; i + 1 < tabOrder.size(); ++i) {
    setTabOrder(Widget(tabOrder[i]->control), Widget(tabOrder[i + 1]->control));
  }
  // The labels beside the check boxes carry their text; the boxes are named
  // after them for screen readers.
  for (const CaptionRow& row : CaptionTable()) {
    const auto caption = static_cast<std::size_t>(row.control);
    if (caption > 0 && WindowLayout()[caption - 1].kind == ControlKind::CheckBox) {
      controls_[caption - 1]->setAccessibleName(Text(row.english));
    }
  }
  // The menu's shortcuts work wherever the focus is in the window: F5 the
  // preview, Ctrl+Z the undo, as a file manager undoes a rename.
  const QKeySequence shortcuts[] = {QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_Z),
                                    QKeySequence()};
  for (MenuEntry entry : kMenuEntries) {
    const auto index = static_cast<std::size_t>(entry);
    QAction* action = menu_.addAction(QString());
    action->setShortcut(shortcuts[index]);
    connect(action, &QAction::triggered, this, [this, entry] { presenter_.Choose(entry); });
    addAction(action);
    menuEntries_[index] = action;
  }
  presenter_.Load();
}

void QtWindow::SetTitle(std::string_view title) {
  setWindowTitle(Text(title));
}

void QtWindow::SetText(Control control, std::string_view text) {
  QWidget* widget = Widget(control);
  if (auto* value = dynamic_cast<ElidedLabel*>(widget)) {
    value->SetFullText(Text(text));
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(Text(text));
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    button->setText(Text(text));
  }
}

void QtWindow::SetEnabled(Control control, bool enabled) {
  Widget(control)->setEnabled(enabled);
}

void QtWindow::SetChecked(Control box, bool checked) {
  static_cast<QCheckBox*>(Widget(box))->setChecked(checked);
}

bool QtWindow::IsChecked(Control box) const {
  return static_cast<QCheckBox*>(Widget(box))->isChecked();
}

void QtWindow::SetLanguage(CaptionLanguage language) {
  const QFont captionFont = WindowFont(kFontPixels[static_cast<int>(language)]);
  for (const CaptionRow& row : CaptionTable()) {
    Widget(row.control)->setFont(captionFont);
  }
  // Qt's own dialog texts (the file dialog's) follow, where Qt's
  // translations are installed.
  if (language == CaptionLanguage::Chinese &&
      qtTranslator_.load(QStringLiteral("qtbase_zh_TW"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qtTranslator_);
  } else {
    QCoreApplication::removeTranslator(&qtTranslator_);
  }
}

std::string QtWindow::ChooseFile(std::string_view title, std::string_view filterName,
                                 std::string_view) {
  // Qt's filter is the name with its pattern in brackets, which the name
  // already holds.
  FileDialog& dialog = *services_.fileDialog;
  dialog.SetTitle(Text(title));
  dialog.SetFilter(Text(filterName));
  dialog.ShowOpen();
  return Utf8(dialog.FileName());
}

ReplaceChoice QtWindow::AskReplace(const ReplaceQuestionWords& words, std::string_view picturePath,
                                   std::string_view existingPath) {
  return replaceAsker_.Ask(words, picturePath, existingPath);
}

void QtWindow::ShowError(std::string_view title, std::string_view text) {
  QMessageBox::warning(this, Text(title), Text(text));
}

void QtWindow::ShowMessage(std::string_view title, std::string_view text) {
  QMessageBox::information(this, Text(title), Text(text));
}

void QtWindow::SetMenuEntry(MenuEntry entry, std::string_view caption, bool enabled) {
  QAction* action = menuEntries_[static_cast<std::size_t>(entry)];
  action->setText(Text(caption));
  action->setEnabled(enabled);
}

ReviewButton QtWindow::ShowReview(const ReviewTexts& texts) {
  ReviewDialog dialog(texts, this);
  return dialog.Ask();
}

void QtWindow::ShowProblems(const ProblemListTexts& texts) {
  ProblemListDialog dialog(texts, this);
  dialog.exec();
}

OpenResult QtWindow::OpenInViewer(std::string_view path) {
  if (services_.viewer->Open(Text(path))) return {};
  return {OpenStatus::Failed, "no program opens it"};
}

void QtWindow::HandOver() {
  QApplication::processEvents();
  emit HandedOver();
}

void QtWindow::Close() {
  close();
}

void QtWindow::contextMenuEvent(QContextMenuEvent* event) {
  // A button's own right click is left to it.
  if (event->reason() == QContextMenuEvent::Mouse &&
      qobject_cast<QPushButton*>(childAt(event->pos())) != nullptr) {
    return;
  }
  presenter_.RefreshMenu();
  menu_.exec(event->globalPos());
}

void QtWindow::changeEvent(QEvent* event) {
  // A command-line run may have left a journal to undo since.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) presenter_.RefreshMenu();
  QWidget::changeEvent(event);
}

void QtWindow::closeEvent(QCloseEvent* event) {
  if (presenter_.CloseRequested() == CloseAnswer::CloseNow) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace tessaly
