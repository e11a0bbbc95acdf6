#include "Label.h"

#include <QMouseEvent>

namespace corvane {

void TLabel::mousePressEvent(QMouseEvent* event) {
  FPressed = event->button() == Qt::LeftButton;
  if (FPressed) emit MouseDown();
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  FPressed = false;
  if (click) emit Click();
}

void TLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  FPressed = false;  // the second press of a double-click is no click
  if (event->button() != Qt::LeftButton) return;
  emit DblClick();
  emit MouseDown();
}

}  // namespace corvane
