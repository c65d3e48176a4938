#include "ui/qt/WindowControls.h"

#include <QEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace tessaly {

void FittedCheckBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const int side = std::min(width(), height());
  option.rect = QRect((width() - side) / 2, (height() - side) / 2, side, side);
  painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
}

bool FittedCheckBox::hitButton(const QPoint& position) const {
  return rect().contains(position);
}

void ElidedLabel::SetFullText(const QString& text) {
  fullText_ = text;
  setText(fontMetrics().elidedText(text, mode_, width()));
  setToolTip(text);
}

void ElidedLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) SetFullText(fullText_);
}

}  // namespace tessaly
