#pragma once

#include <QWidget>

#include "platform/qt/WindowServices.h"

namespace tessaly {

// The question a file manager asks before it replaces a file: both files
// named with their size and date; Yes, No, Yes to All, No to All.
class QtReplaceAsker final : public ReplaceAsker {
 public:
  explicit QtReplaceAsker(QWidget* owner) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  ReplaceChoice Ask(const ReplaceQuestionWords& words, const QString& picturePath,
                    const QString& existingPath) override;

 private:
  QWidget* owner_;
};

}  // namespace tessaly
