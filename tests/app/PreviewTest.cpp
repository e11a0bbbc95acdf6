#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QTreeWidget>

#include "BitmapView.h"
#include "FormFixture.h"
#include "Image.h"
#include "Label.h"
#include "PicShow.h"
#include "PreviewLayout.h"
#include "gif/GIFImage.h"
#include "platform/Canvas.h"
#include "support/GifBuilder.h"

namespace corvane {

namespace {

const QSize kPane(146, 129);
const QSize kPanel(148, 131);

QSize Screen() { return QGuiApplication::primaryScreen()->geometry().size(); }

std::vector<TPicShow*> Views(TForm1& form) {
  QList<TPicShow*> views = form.findChildren<TPicShow*>(Qt::FindDirectChildrenOnly);
  return {views.begin(), views.end()};
}

}  // namespace

TEST(FitGifPreview, KeepsSmallPicturesAtTheirOwnSize) {
  TPreviewLayout layout = FitGifPreview({100, 100}, kPane, kPanel, false);
  EXPECT_TRUE(layout.ClientAligned);
  EXPECT_FALSE(layout.Stretch);
  EXPECT_TRUE(FitGifPreview({16, 16}, kPane, kPanel, true).Stretch);
}

TEST(FitGifPreview, FitsTooWideAndTooTallPictures) {
  TPreviewLayout wide = FitGifPreview({300, 100}, kPane, kPanel, false);
  EXPECT_FALSE(wide.ClientAligned);
  EXPECT_TRUE(wide.Stretch);
  EXPECT_EQ(wide.Bounds, QRect(5, 42, 138, 46));
  EXPECT_EQ(FitGifPreview({200, 300}, kPane, kPanel, false).Bounds, QRect(33, 5, 81, 121));
  EXPECT_EQ(FitGifPreview({100, 400}, kPane, kPanel, false).Bounds.size(), QSize(30, 121));  // 30.25
  // Both too large: the longer side decides, a square fits the height.
  EXPECT_EQ(FitGifPreview({400, 300}, kPane, kPanel, false).Bounds, QRect(5, 13, 138, 104));  // 103.5 to even
  EXPECT_EQ(FitGifPreview({300, 300}, kPane, kPanel, false).Bounds, QRect(13, 5, 121, 121));
}

TEST(FitGifPreview, UsesTheWideLayoutsNarrowerPanel) {
  EXPECT_EQ(FitGifPreview({200, 300}, {138, 129}, {140, 131}, false).Bounds, QRect(29, 5, 81, 121));
}

TEST(FitToPicture, OpensSmallPicturesInAMinimumWindowAndLargeOnesMaximised) {
  const QSize screen(800, 600);
  EXPECT_EQ(FitToPicture({200, 100}, screen).Window, QSize(340, 240));
  EXPECT_EQ(FitToPicture({500, 400}, screen).Window, QSize(530, 450));
  EXPECT_FALSE(FitToPicture({779, 559}, screen).Maximised);
  EXPECT_TRUE(FitToPicture({780, 100}, screen).Maximised);  // within 20 pixels of the width
  EXPECT_TRUE(FitToPicture({100, 560}, screen).Maximised);
  EXPECT_EQ(CentreOnScreen({341, 240}, screen), QPoint(230, 180));  // 229.5 to even
  EXPECT_EQ(CentreOnScreen({343, 240}, screen), QPoint(228, 180));  // 228.5 to even
  EXPECT_EQ(CentredOffset(100, 300), 0);
}

TEST_F(FormTest, PanesFitTheirPictures) {
  TBitmap picture(300, 100);
  ShowFittedPreview(*Gif->Image5, picture, false);
  EXPECT_EQ(Gif->Image5->Align(), TAlign::alNone);
  EXPECT_EQ(Gif->Image5->geometry(), QRect(5, 42, 138, 46));
  EXPECT_TRUE(Gif->Image5->Stretch());
  EXPECT_EQ(Gif->Image5->Picture().Width(), 300);
  EXPECT_NE(Gif->Image5->Picture().Graphic(), &picture);  // a copy

  TBitmap small(16, 16);
  ShowFittedPreview(*Gif->Image5, small, true);
  EXPECT_EQ(Gif->Image5->Align(), TAlign::alClient);
  EXPECT_EQ(Gif->Image5->geometry(), QRect(1, 1, 146, 129));
  EXPECT_EQ(Gif->Image5->DestRect({16, 16}), QRect(0, 0, 146, 129));

  ShowFittedPreview(*Gif->Image5, small, false);
  EXPECT_EQ(Gif->Image5->DestRect({16, 16}), QRect(65, 56, 16, 16));  // centred at its own size
}

TEST_F(FormTest, CopyPreviewLayoutGivesTheOptimizedPaneTheSourceLayout) {
  TBitmap picture(200, 300);
  ShowFittedPreview(*Gif->Image5, picture, false);
  CopyPreviewLayout(*Gif->Image5, *Gif->Image1);
  EXPECT_EQ(Gif->Image1->Align(), TAlign::alNone);
  EXPECT_TRUE(Gif->Image1->Stretch());
  EXPECT_EQ(Gif->Image1->geometry(), QRect(33, 5, 81, 121));
}

TEST_F(FormTest, HandCursorOnlyOverPanesWithAPicture) {
  QTest::mouseMove(Gif->Image5);
  EXPECT_EQ(Gif->Image5->cursor().shape(), Qt::ArrowCursor);
  TBitmap picture(10, 10);
  Gif->Image5->Picture().SetGraphic(&picture);
  QTest::mouseMove(Gif->Image5, QPoint(3, 3));
  EXPECT_EQ(Gif->Image5->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(FormTest, ClickingAnEmptyPaneOpensNothing) {
  Click(Gif->Image5);
  Click(Gif->Image1);
  EXPECT_TRUE(Views(*Form).empty());
}

TEST_F(FormTest, FullViewOfASmallPictureIsCentredAtTheMinimumSize) {
  TBitmap picture(200, 100);
  Gif->Image5->Picture().SetGraphic(&picture);
  Gif->FlatCheckBox3->setChecked(true);
  Click(Gif->Image5);
  Click(Gif->Image5);
  std::vector<TPicShow*> views = Views(*Form);
  ASSERT_EQ(views.size(), 2u);  // every click opens another window
  TPicShow* view = views[0];
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(view->size(), QSize(340, 240));
  EXPECT_EQ(view->pos(), CentreOnScreen({340, 240}, Screen()));
  EXPECT_EQ(view->LabelCaption->text(), "Source GIF Preview");
  EXPECT_TRUE(view->Image1->Stretch());
  EXPECT_EQ(view->Image1->Align(), TAlign::alClient);
  EXPECT_EQ(view->Image1->Picture().Width(), 200);
  EXPECT_NE(view->Image1->Picture().Graphic(), Gif->Image5->Picture().Graphic());
  EXPECT_EQ(view->ImageBorderTopRight->x(), 310);

  QTest::mouseClick(view->ImageBorderTopRight, Qt::LeftButton);
  EXPECT_FALSE(view->isVisible());  // closing only hides it
  EXPECT_EQ(Views(*Form).size(), 2u);
}

TEST_F(FormTest, FullViewOfAScreenTooLargeToDrawShowsTheMessageAndNoWindow) {
  TMemoryStream file(test::TGifBuilder(65535, 65535).GlobalTable(1).Image(0, 0, 2, 2, {0, 1, 1, 0}).Trailer().Data());
  TGIFImage huge;
  huge.LoadFromStream(file);
  Gif->Image1->Picture().SetGraphic(&huge);
  FakeUi().Errors.clear();
  Click(Gif->Image1);
  ASSERT_FALSE(FakeUi().Errors.empty());
  EXPECT_EQ(FakeUi().Errors.back().second, "Image too large to draw (65535 x 65535 pixels)");
  EXPECT_TRUE(Views(*Form).empty());
}

TEST_F(FormTest, FullViewOfAPictureAsWideAsTheScreenIsMaximisedAndScrolls) {
  QSize screen = Screen();
  TBitmap picture(screen.width() - 20, 50);
  Jpg->Image2->Picture().SetGraphic(&picture);
  Click(Jpg->Image2);
  ASSERT_EQ(Views(*Form).size(), 1u);
  TPicShow* view = Views(*Form)[0];
  EXPECT_TRUE(view->isMaximized());
  EXPECT_EQ(view->LabelCaption->text(), "Source Image Preview");
  EXPECT_FALSE(view->Image1->Stretch());
  EXPECT_EQ(view->Image1->Align(), TAlign::alNone);
  EXPECT_EQ(view->Image1->size(), QSize(screen.width() - 20, 50));
  QCoreApplication::processEvents();
  EXPECT_EQ(view->ImageBorderTopRight->x(), view->width() - 30);
  EXPECT_EQ(view->Image1->y(), CentredOffset(view->ScrollBox1->height(), 50));

  QTest::mouseDClick(view->ImageBorderTop, Qt::LeftButton);
  EXPECT_FALSE(view->isMaximized());
  QTest::mouseDClick(view->LabelCaption, Qt::LeftButton);
  EXPECT_TRUE(view->isMaximized());
}

TEST_F(FormTest, ResultPanePopUpOpensTheFullView) {
  TBitmap picture(30, 20);
  Jpg->Image3->Picture().SetGraphic(&picture);
  Jpg->FullView1->trigger();
  ASSERT_EQ(Views(*Form).size(), 1u);
  EXPECT_EQ(Views(*Form)[0]->LabelCaption->text(), "Optimized Image Preview");
}

TEST(BitmapImage, WrapsTheBitmapsOwnRows) {
  TBitmap colour(3, 2);
  colour.Canvas().SetPixel(1, 1, MakeColor(10, 20, 30));
  QImage image = BitmapImage(colour);
  EXPECT_EQ(image.constBits(), colour.ScanLine(0));
  EXPECT_EQ(image.bytesPerLine(), colour.RowStride());
  EXPECT_EQ(image.pixel(1, 1), qRgb(10, 20, 30));

  TBitmap indexed(5, 1, TPixelFormat::pf8bit);
  indexed.SetPalette(MakePalette({{0, 0, 0}, {200, 100, 50}}));
  indexed.ScanLine(0)[4] = 1;
  indexed.ScanLine(0)[3] = 7;  // beyond the palette
  QImage view = BitmapImage(indexed);
  EXPECT_EQ(view.constBits(), indexed.ScanLine(0));
  EXPECT_EQ(view.pixel(4, 0), qRgb(200, 100, 50));
  EXPECT_EQ(view.pixel(3, 0), qRgb(0, 0, 0));
  EXPECT_TRUE(BitmapImage(TBitmap()).isNull());
}

namespace {

// A picture that reports, while loading, that its first rows can be shown.
class TSlowPicture : public TBitmap {
 public:
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TSlowPicture>(); }
  void LoadFromStream(TStream& stream) override {
    TBitmap::LoadFromStream(stream);
    Progress(this, TProgressStage::psRunning, 50, true, Bounds(0, 0, Width(), 1), "Loading...");
  }
  void Draw(TCanvas& canvas, const TRect& rect) override {
    ++Draws;
    TBitmap::Draw(canvas, rect);
  }
  static inline int Draws = 0;
};

}  // namespace

TEST_F(FormTest, IncrementalDisplayDrawsWhileThePictureLoads) {
  RegisterFileFormat("slowtest", "Test", [] { return std::make_unique<TSlowPicture>(); });
  std::string file = AppDir.filePath("picture.slowtest").toStdString();
  TBitmap(8, 8).SaveToFile(file);

  TSlowPicture::Draws = 0;
  Gif->Image1->Picture().LoadFromFile(file);
  EXPECT_EQ(TSlowPicture::Draws, 0);
  Gif->Image1->SetIncrementalDisplay(true);
  Gif->Image1->Picture().LoadFromFile(file);
  EXPECT_EQ(TSlowPicture::Draws, 1);  // drawn during the load, before the pane holds it
  UnregisterFileFormat("slowtest");
}

}  // namespace corvane
