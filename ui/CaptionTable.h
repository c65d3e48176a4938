#pragma once

#include <array>
#include <string_view>

namespace tessaly {

// One fixed caption of the window in both languages.
struct CaptionRow {
  std::string_view control;  // the object name of the control
  std::string_view english;  // column 0
  std::string_view chinese;  // column 1, Traditional Chinese
};

// The 14 captions in row order. Row 14, the language button, is inverted: it
// names the language that a click switches to.
const std::array<CaptionRow, 14>& CaptionTable();

}  // namespace tessaly
