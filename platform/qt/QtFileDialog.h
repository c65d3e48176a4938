#pragma once

#include <QFileDialog>
#include <memory>

#include "platform/qt/WindowServices.h"

namespace tessaly {

// The file-open dialog on Qt's own widgets, so that the one filter shows
// every file, names without a dot among them, whatever its pattern says.
class QtFileDialog final : public FileDialog {
 public:
  explicit QtFileDialog(QWidget* owner);
  void SetTitle(const QString& title) override;
  void SetFilter(const QString& filter) override;
  void ShowOpen() override;
  QString FileName() const override { return fileName_; }

  QFileDialog& Dialog() { return *dialog_; }

 private:
  std::unique_ptr<QFileDialog> dialog_;
  QString fileName_;
};

}  // namespace tessaly
