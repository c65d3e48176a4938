#include "platform/qt/DesktopViewer.h"

#include <QDesktopServices>
#include <QUrl>

namespace tessaly {

void DesktopViewer::Open(const QString& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace tessaly
