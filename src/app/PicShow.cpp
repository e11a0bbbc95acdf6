#include "PicShow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QWindow>

#include "Artwork.h"
#include "Image.h"
#include "Label.h"
#include "PreviewLayout.h"
#include "gif/GIFImage.h"

namespace corvane {

namespace {

constexpr int kTitleHeight = 25;
constexpr int kEdge = 2;

TLabel* PictureLabel(QWidget* parent, const char* name, const QPixmap& picture) {
  auto* label = new TLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setPixmap(picture);
  label->setScaledContents(true);
  return label;
}

QSize ScreenSize() { return QGuiApplication::primaryScreen()->geometry().size(); }

}  // namespace

TPicShow::TPicShow(QWidget* owner) : QWidget(owner, Qt::Window | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("PicShow"));
  setWindowTitle(QStringLiteral("View"));
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(0xE7, 0xE7, 0xE7));
  setPalette(background);

  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  ScrollBox1->setFrameShape(QFrame::NoFrame);
  ScrollBox1->setWidgetResizable(true);
  FScrollContent = new QWidget;
  ScrollBox1->setWidget(FScrollContent);
  Image1 = new TImage(FScrollContent);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->SetCenter(true);
  Image1->SetIncrementalDisplay(true);
  Image1->SetAlign(TAlign::alClient);

  ImageBorderTop = PictureLabel(this, "ImageBorderTop", ViewTitleBarPicture());
  ImageBorderTopLeft = PictureLabel(this, "ImageBorderTopLeft", ViewCornerPicture());
  ImageBorderTopRight = PictureLabel(this, "ImageBorderTopRight", ViewCloseButtonPicture());
  ImageBorderTopRight->setCursor(Qt::PointingHandCursor);
  ImageBorderLeft = PictureLabel(this, "ImageBorderLeft", BorderStripPicture());
  ImageBorderRight = PictureLabel(this, "ImageBorderRight", BorderStripPicture());
  ImageBorderBottom = PictureLabel(this, "ImageBorderBottom", BorderStripPicture());
  LabelCaption = new TLabel(this);
  LabelCaption->setObjectName(QStringLiteral("LabelCaption"));
  LabelCaption->setGeometry(5, 4, 124, 16);
  LabelCaption->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

  for (TLabel* bar : {ImageBorderTop, LabelCaption}) {
    connect(bar, &TLabel::MouseDown, this, &TPicShow::ImageBorderTopMouseDown);
    connect(bar, &TLabel::DblClick, this, &TPicShow::ImageBorderTopDblClick);
  }
  connect(ImageBorderTopRight, &TLabel::Click, this, &TPicShow::ImageBorderTopRightClick);
  resize(431, 319);
  CentreOnScreen();
}

void TPicShow::FitToPicture(int w, int h) {
  TFullViewSize size = corvane::FitToPicture(QSize(w, h), ScreenSize());
  if (size.Maximised) {
    Image1->SetAlign(TAlign::alNone);
    Image1->resize(w, h);
    setWindowState(windowState() | Qt::WindowMaximized);
  } else {
    Image1->SetAlign(TAlign::alClient);
    resize(size.Window);
    CentreOnScreen();
  }
  FormResize();
}

void TPicShow::CentreOnScreen() { move(corvane::CentreOnScreen(size(), ScreenSize())); }

void TPicShow::resizeEvent(QResizeEvent*) { AlignControls(); }

void TPicShow::closeEvent(QCloseEvent* event) {
  Image1->Picture().Clear();
  QWidget::closeEvent(event);
}

void TPicShow::AlignControls() {
  int w = width(), h = height();
  ImageBorderTop->setGeometry(0, 0, w, kTitleHeight);
  ImageBorderTopLeft->setGeometry(0, 0, 13, kTitleHeight);
  ImageBorderTopRight->resize(30, kTitleHeight);
  ImageBorderBottom->setGeometry(0, h - kEdge, w, kEdge);
  ImageBorderLeft->setGeometry(0, kTitleHeight, kEdge, h - kTitleHeight - kEdge);
  ImageBorderRight->setGeometry(w - kEdge, kTitleHeight, kEdge, h - kTitleHeight - kEdge);
  ScrollBox1->setGeometry(kEdge, kTitleHeight, w - 2 * kEdge, h - kTitleHeight - kEdge);
  LabelCaption->raise();
  ImageBorderTopRight->raise();
  FormResize();
}

void TPicShow::FormResize() {
  ImageBorderTopRight->move(width() - 30, 0);
  if (Image1->Align() == TAlign::alClient) {  // it fills the scrolling area
    FScrollContent->setMinimumSize(0, 0);
    return;
  }
  Image1->move(CentredOffset(ScrollBox1->width(), Image1->width()),
               CentredOffset(ScrollBox1->height(), Image1->height()));
  FScrollContent->setMinimumSize(Image1->x() + Image1->width(), Image1->y() + Image1->height());
}

void TPicShow::ImageBorderTopMouseDown() {
  if (QWindow* window = windowHandle()) window->startSystemMove();
}

void TPicShow::ImageBorderTopDblClick() {
  setWindowState(isMaximized() ? Qt::WindowNoState : Qt::WindowMaximized);
}

void TPicShow::ImageBorderTopRightClick() { close(); }

void ShowFullView(QWidget* owner, const TImage& pane, const QString& title, bool stretch) {
  if (pane.Picture().Width() <= 0) return;
  // A screen too large to draw would leave an empty window: the message comes instead.
  if (auto* gif = dynamic_cast<const TGIFImage*>(pane.Picture().Graphic())) gif->CheckDrawableSize();
  auto* view = new TPicShow(owner);
  view->FitToPicture(pane.Picture().Width(), pane.Picture().Height());
  view->LabelCaption->setText(title);
  view->Image1->SetStretch(stretch);
  view->Image1->Picture().SetGraphic(pane.Picture().Graphic());
  view->show();
}

}  // namespace corvane
