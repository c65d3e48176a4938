#pragma once

#include <QFileDialog>
#include <QPointer>

#include "ui/qt/WindowServices.h"

namespace tessaly {

// The file-open dialog on Qt's own widgets, so that the one filter shows
// every file, names without a dot among them, whatever its pattern says.
class QtFileDialog final : public FileDialog {
 public:
  // The dialog belongs to `owner` (centred over it, no taskbar entry of its
  // own) and goes with it, or with this object, whichever goes first.
  explicit QtFileDialog(QWidget* owner);
  ~QtFileDialog() override;
  QtFileDialog(const QtFileDialog&) = delete;
  QtFileDialog& operator=(const QtFileDialog&) = delete;
  void SetOwner(QWidget* owner);
  void SetTitle(const QString& title) override;
  void SetFilter(const QString& filter) override;
  void ShowOpen() override;
  QString FileName() const override { return fileName_; }

  QFileDialog& Dialog() { return *dialog_; }

 private:
  QPointer<QFileDialog> dialog_;
  QString fileName_;
};

}  // namespace tessaly
