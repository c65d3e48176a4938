#pragma once

#include <QDialog>

#include "ui/WindowView.h"

namespace tessaly {

// What a run or an undo would do, before it is done: the counts, the
// changes and the problems in scrollable lists ("changes", "problems"), and
// the button that goes ahead beside the one that closes.
class ReviewDialog final : public QDialog {
 public:
  ReviewDialog(const ReviewTexts& texts, QWidget* owner);
  ReviewButton Ask();
};

}  // namespace tessaly
