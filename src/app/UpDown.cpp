#include "UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace corvane {

namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setStyleSheet(QStringLiteral("QToolButton { border: 1px solid #A0A0A0; background: #E7E7E7; }"
                                       "QToolButton:pressed { background: #C8C8C8; }"));
  return button;
}

}  // namespace

TUpDown::TUpDown(QWidget* parent, QLineEdit* associate, int minimum, int maximum)
    : QWidget(parent),
      FAssociate(associate),
      FUp(ArrowButton(this, Qt::UpArrow)),
      FDown(ArrowButton(this, Qt::DownArrow)),
      FMinimum(minimum),
      FMaximum(maximum) {
  connect(FUp, &QToolButton::clicked, this, [this] { Step(1); });
  connect(FDown, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::resizeEvent(QResizeEvent*) {
  int half = height() / 2;
  FUp->setGeometry(0, 0, width(), half);
  FDown->setGeometry(0, half, width(), height() - half);
}

void TUpDown::Step(int delta) {
  bool ok = false;
  int value = FAssociate->text().toInt(&ok);
  if (!ok) value = FMinimum;
  int stepped = std::clamp(std::clamp(value, FMinimum, FMaximum) + delta, FMinimum, FMaximum);
  if (!ok || stepped != value) FAssociate->setText(QString::number(stepped));
}

}  // namespace corvane
