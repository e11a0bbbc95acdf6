#pragma once
// TUpDown: a pair of small arrow buttons that step the number in an associated edit
// within a range, without wrapping.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace corvane {

class TUpDown : public QWidget {
  Q_OBJECT

 public:
  TUpDown(QWidget* parent, QLineEdit* associate, int minimum, int maximum);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The edit's number moved by delta and kept in range; a text that is no number counts
  // as the minimum.
  void Step(int delta);

  QLineEdit* FAssociate;
  QToolButton* FUp;
  QToolButton* FDown;
  int FMinimum;
  int FMaximum;
};

}  // namespace corvane
