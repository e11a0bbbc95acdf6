#pragma once
// TImage: a picture pane. It holds a TPicture, draws the picture through the platform
// canvas into a bitmap and shows that bitmap; it stretches or centres the picture, can
// follow its parent's client area, and with incremental display repaints while a picture
// reports its progress.

#include <QWidget>
#include <memory>

#include "platform/Bitmap.h"
#include "platform/PictureRegistry.h"

namespace corvane {

enum class TAlign { alNone, alClient };

class TImage : public QWidget {
  Q_OBJECT

 public:
  explicit TImage(QWidget* parent);
  // Frees the picture first, which stops the animation painters that draw into it.
  ~TImage() override;

  // Every change of the picture, or of what it holds, repaints the pane.
  TPicture& Picture() { return FPicture; }
  const TPicture& Picture() const { return FPicture; }

  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);
  void SetCenter(bool value);
  bool IncrementalDisplay() const { return FIncrementalDisplay; }
  void SetIncrementalDisplay(bool value) { FIncrementalDisplay = value; }
  TAlign Align() const { return FAlign; }
  // alClient keeps the pane on its parent's client area.
  void SetAlign(TAlign value);

  // Where a picture of that size is drawn in the pane.
  QRect DestRect(QSize picture) const;

 signals:
  void Click();
  void MouseMove();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PictureChanged();
  void PictureProgress(TPersistent* sender, bool redrawNow);
  void FollowParent();
  // graphic drawn at the size of its destination, made again after every change.
  const TBitmap& Frame(TGraphic& graphic, QSize size);

  TPicture FPicture;
  std::unique_ptr<TBitmap> FFrame;
  // The picture that reports progress while it loads, drawn in place of the held one.
  TGraphic* FLoading = nullptr;
  bool FStretch = false;
  bool FCenter = false;
  bool FIncrementalDisplay = false;
  bool FDrawing = false;
  bool FPressed = false;
  // Set when drawing failed, so that the error is reported once, not on every paint.
  bool FBroken = false;
  TAlign FAlign = TAlign::alNone;
};

}  // namespace corvane
