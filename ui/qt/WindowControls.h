#pragma once

#include <QCheckBox>
#include <QLabel>

namespace tessaly {

// A check box without a caption whose whole box is drawn inside its own
// rectangle, however small the rectangle: the style's indicator is fitted
// to the largest square that the control holds, at any pixel ratio. The
// whole rectangle takes clicks.
class FittedCheckBox final : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& position) const override;
};

// A value label that shows as much of its text as its width holds, with
// "…" where text is left out, and the whole text as its tooltip.
class ElidedLabel final : public QLabel {
 public:
  // Middle: the start and the end stay (a path's last directory). Left:
  // the end stays (a new name's date).
  ElidedLabel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), mode_(mode) {}
  void SetFullText(const QString& text);
  const QString& FullText() const { return fullText_; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  Qt::TextElideMode mode_;
  QString fullText_;
};

}  // namespace tessaly
