#pragma once

#include <QWidget>
#include <string_view>

#include "ui/WindowView.h"

namespace tessaly {

// The question a file manager asks before it replaces a file: both files
// named with their size and date; Yes, No, Yes to All, No to All, No the
// default.
class QtReplaceAsker final {
 public:
  explicit QtReplaceAsker(QWidget* owner) : owner_(owner) {}
  ReplaceChoice Ask(const ReplaceQuestionWords& words, std::string_view picturePath,
                    std::string_view existingPath);

 private:
  QWidget* owner_;
};

}  // namespace tessaly
