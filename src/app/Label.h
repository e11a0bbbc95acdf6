#pragma once
// TLabel: a text or picture label with the click, double-click and mouse-down events that
// the title bars and their hot spots need.

#include <QLabel>

namespace corvane {

class TLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void Click();
  void DblClick();
  void MouseDown();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool FPressed = false;
};

}  // namespace corvane
