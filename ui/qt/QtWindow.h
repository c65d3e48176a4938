#pragma once

#include <QAction>
#include <QMenu>
#include <QTranslator>
#include <QWidget>
#include <array>

#include "platform/FileSystem.h"
#include "ui/WindowPresenter.h"
#include "ui/WindowView.h"
#include "ui/qt/QtReplaceAsker.h"
#include "ui/qt/WindowServices.h"

namespace tessaly {

// What the Qt window needs of the desktop; tests and benchmarks put their
// own in.
struct QtWindowServices {
  FileDialog* fileDialog;
  Viewer* viewer;
};

// The window on Qt's widgets: the controls of WindowLayout() at their
// places (15 twips a pixel), named as the layout names them, their fonts,
// check boxes drawn whole in their small places and values shortened where
// they matter least. What the window does is the presenter's.
class QtWindow final : public QWidget, public WindowView {
  Q_OBJECT

 public:
  QtWindow(FileSystem& fileSystem, QtWindowServices services, RenameListPlace listPlace,
           QWidget* parent = nullptr);

  WindowPresenter& Presenter() { return presenter_; }

  // WindowView
  void SetTitle(std::string_view title) override;
  void SetText(Control control, std::string_view text) override;
  void SetEnabled(Control control, bool enabled) override;
  void SetChecked(Control box, bool checked) override;
  bool IsChecked(Control box) const override;
  void SetLanguage(CaptionLanguage language) override;
  std::string ChooseFile(std::string_view title, std::string_view filterName,
                         std::string_view filterPattern) override;
  ReplaceChoice AskReplace(const ReplaceQuestionWords& words, std::string_view picturePath,
                           std::string_view existingPath) override;
  void ShowError(std::string_view title, std::string_view text) override;
  void ShowMessage(std::string_view title, std::string_view text) override;
  void SetMenuEntry(MenuEntry entry, std::string_view caption, bool enabled) override;
  ReviewButton ShowReview(const ReviewTexts& texts) override;
  void ShowProblems(const ProblemListTexts& texts) override;
  OpenResult OpenInViewer(std::string_view path) override;
  void HandOver() override;
  void Close() override;

 signals:
  // Emitted at every hand-over, after the values are shown.
  void HandedOver();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The menu, by a right click outside the buttons or the menu key.
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QWidget* Widget(Control control) const { return controls_[static_cast<std::size_t>(control)]; }

  QtWindowServices services_;
  WindowPresenter presenter_;
  std::array<QWidget*, 23> controls_{};
  QtReplaceAsker replaceAsker_{this};
  QMenu menu_{this};
  std::array<QAction*, 3> menuEntries_{};  // by MenuEntry; their shortcuts work in the window
  QTranslator qtTranslator_;               // Qt's own texts in Chinese
};

}  // namespace tessaly
