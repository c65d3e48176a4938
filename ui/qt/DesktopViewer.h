#pragma once

#include "ui/qt/WindowServices.h"

namespace tessaly {

// The desktop's "open" for a file: the viewer the user has for its kind.
class DesktopViewer final : public Viewer {
 public:
  bool Open(const QString& path) override;
};

}  // namespace tessaly
