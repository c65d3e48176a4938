#pragma once

#include <QWidget>

#include "ui/WindowServices.h"

namespace tessaly {

// Message boxes and the problem list, owned by the window.
class QtWindowMessages final : public WindowMessages {
 public:
  explicit QtWindowMessages(QWidget* owner) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  void ShowError(const QString& title, const QString& text) override;
  void ShowProblems(const std::vector<Problem>& problems, int languageIndex) override;

 private:
  QWidget* owner_;
};

}  // namespace tessaly
