#pragma once

#include <windows.h>

#include <functional>

#include "ui/WindowView.h"

namespace tessaly {

// The review of a run or an undo as a modal window owned by `owner`: the
// counts, the changes and the problems in scrollable read-only boxes, the
// button that goes ahead and the one that closes; Return presses the default
// one, Esc and the title bar close. `onShown` hears of the window once it
// shows. The buttons' identifiers:
inline constexpr int kReviewProceed = 1010;  // the other is IDCANCEL

ReviewButton ShowReviewWindow(HWND owner, HFONT font, const ReviewTexts& texts,
                              const std::function<void(HWND)>& onShown);

}  // namespace tessaly
