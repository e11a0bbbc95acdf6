#include "Image.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <exception>

#include "Application.h"
#include "BitmapView.h"
#include "platform/Canvas.h"

namespace corvane {

namespace {

// Marks the time in which the pane draws its picture.
class DrawingScope {
 public:
  explicit DrawingScope(bool& flag) : FFlag(flag) { FFlag = true; }
  ~DrawingScope() { FFlag = false; }
  DrawingScope(const DrawingScope&) = delete;
  DrawingScope& operator=(const DrawingScope&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

TImage::TImage(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  FPicture.OnChange = [this] { PictureChanged(); };
  FPicture.OnProgress = [this](TPersistent* sender, TProgressStage, uint8_t, bool redrawNow, const TRect&,
                               const std::string&) { PictureProgress(sender, redrawNow); };
}

TImage::~TImage() {
  FPicture.OnChange = {};
  FPicture.OnProgress = {};
  FPicture.Clear();
}

void TImage::SetStretch(bool value) {
  if (value == FStretch) return;
  FStretch = value;
  PictureChanged();
}

void TImage::SetCenter(bool value) {
  if (value == FCenter) return;
  FCenter = value;
  update();
}

void TImage::SetAlign(TAlign value) {
  if (parentWidget()) {
    if (value == TAlign::alClient)
      parentWidget()->installEventFilter(this);
    else
      parentWidget()->removeEventFilter(this);
  }
  FAlign = value;
  FollowParent();
}

void TImage::FollowParent() {
  if (FAlign == TAlign::alClient && parentWidget()) setGeometry(parentWidget()->contentsRect());
}

bool TImage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) FollowParent();
  return QWidget::eventFilter(watched, event);
}

QRect TImage::DestRect(QSize picture) const {
  if (FStretch) return rect();
  QRect dest(QPoint(0, 0), picture);
  if (FCenter) dest.moveTo((width() - picture.width()) / 2, (height() - picture.height()) / 2);
  return dest;
}

void TImage::PictureChanged() {
  if (FDrawing) return;  // a picture that decodes while it draws changes itself
  FFrame.reset();
  FBroken = false;
  update();
}

void TImage::PictureProgress(TPersistent* sender, bool redrawNow) {
  if (!FIncrementalDisplay || !redrawNow || FDrawing) return;
  auto* graphic = dynamic_cast<TGraphic*>(sender);
  if (!graphic) return;
  FFrame.reset();
  FLoading = graphic;
  repaint();
  FLoading = nullptr;
  FFrame.reset();
}

const TBitmap& TImage::Frame(TGraphic& graphic, QSize size) {
  if (FFrame && FFrame->Width() == size.width() && FFrame->Height() == size.height()) return *FFrame;
  auto* bitmap = dynamic_cast<TBitmap*>(&graphic);
  bool indexed = bitmap && bitmap->PixelFormat() == TPixelFormat::pf8bit;
  auto frame = std::make_unique<TBitmap>(size.width(), size.height(),
                                         indexed ? TPixelFormat::pf8bit : TPixelFormat::pf24bit);
  if (indexed) frame->SetPalette(bitmap->PaletteRef());  // keeps the indices as they are
  frame->Canvas().BrushColor = clBtnFace;  // what transparent pixels show
  frame->Canvas().FillRect(Bounds(0, 0, size.width(), size.height()));
  {
    DrawingScope drawing(FDrawing);
    frame->Canvas().StretchDraw(Bounds(0, 0, size.width(), size.height()), graphic);
  }
  FFrame = std::move(frame);
  return *FFrame;
}

void TImage::paintEvent(QPaintEvent*) {
  TGraphic* graphic = FLoading ? FLoading : FPicture.Graphic();
  if (!graphic || FBroken || graphic->Width() <= 0 || graphic->Height() <= 0) return;
  QRect dest = DestRect(QSize(graphic->Width(), graphic->Height()));
  if (dest.isEmpty()) return;
  try {
    QPainter(this).drawImage(dest.topLeft(), BitmapImage(Frame(*graphic, dest.size())));
  } catch (const std::exception& error) {
    FBroken = true;
    // Reported once the paint is over: a message box cannot open inside a paint.
    QString message = QString::fromUtf8(error.what());
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [message] { CorvaneApp().ReportError(message); }, Qt::QueuedConnection);
  }
}

void TImage::mousePressEvent(QMouseEvent* event) { FPressed = event->button() == Qt::LeftButton; }

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  FPressed = false;
  if (click) emit Click();
}

void TImage::mouseDoubleClickEvent(QMouseEvent*) {
  FPressed = false;  // the second press of a double-click is no click
}

void TImage::mouseMoveEvent(QMouseEvent*) { emit MouseMove(); }

}  // namespace corvane
