#pragma once
// TPicShow: the borderless full-view window that shows one picture at full size, with its
// own title bar (drag to move, double-click to maximise, a close button) and a scrolling
// area for pictures larger than the screen.

#include <QWidget>

class QScrollArea;
class QString;

namespace corvane {

class TImage;
class TLabel;

class TPicShow : public QWidget {
  Q_OBJECT

 public:
  // owner releases the window when it goes.
  explicit TPicShow(QWidget* owner);

  TImage* Image1 = nullptr;
  TLabel* LabelCaption = nullptr;
  TLabel* ImageBorderTop = nullptr;
  TLabel* ImageBorderTopLeft = nullptr;
  TLabel* ImageBorderTopRight = nullptr;
  TLabel* ImageBorderLeft = nullptr;
  TLabel* ImageBorderRight = nullptr;
  TLabel* ImageBorderBottom = nullptr;
  QScrollArea* ScrollBox1 = nullptr;

  // Sizes the window for a picture of w × h on the current screen.
  void FitToPicture(int w, int h);
  void CentreOnScreen();

 public slots:
  void ImageBorderTopMouseDown();
  void ImageBorderTopDblClick();
  void ImageBorderTopRightClick();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // Closing hides the window for good: it lets go of its picture, so that no animation
  // plays on in a window nobody sees.
  void closeEvent(QCloseEvent* event) override;

 private:
  // Lays out the title bar, the edges and the scrolling area, then FormResize.
  void AlignControls();
  void FormResize();

  QWidget* FScrollContent = nullptr;
};

// Opens a full-view window that owner releases, with a copy of the pane's picture;
// nothing for an empty pane.
void ShowFullView(QWidget* owner, const TImage& pane, const QString& title, bool stretch);

}  // namespace corvane
