#include "ui/qt/DesktopViewer.h"

#include <QDesktopServices>
#include <QUrl>

namespace tessaly {

bool DesktopViewer::Open(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace tessaly
