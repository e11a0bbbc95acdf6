// Animated GIFs in the GIF tab's panes and the full-view windows: they play through the
// painters, driven by the event loop's share of the synchronisation queue, and no painter
// thread outlives the window.

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <set>

#include "FormFixture.h"
#include "GifListView.h"
#include "Image.h"
#include "Label.h"
#include "PicShow.h"
#include "TestGifs.h"
#include "gif/GIFImage.h"

namespace corvane {

namespace {

// The threads of this process.
int ThreadCount() { return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()); }

int PainterCount(TImage& pane) {
  auto* gif = dynamic_cast<TGIFImage*>(pane.Picture().Graphic());
  if (!gif) return 0;
  auto lock = gif->LockPainterList();
  return int(gif->PainterList().size());
}

// The colours the middle of the pane shows while the event loop runs, until it has shown
// `wanted` of them or a few seconds have passed.
std::set<QRgb> ColoursShown(TImage& pane, size_t wanted) {
  std::set<QRgb> colours;
  QElapsedTimer clock;
  clock.start();
  while (colours.size() < wanted && clock.elapsed() < 5000) {
    colours.insert(pane.grab().toImage().pixel(pane.width() / 2, pane.height() / 2));
    QTest::qWait(5);
  }
  return colours;
}

}  // namespace

class AnimationTest : public FormTest {
 protected:
  // Lists an animation of three colours that changes every 20 ms and selects it.
  void SelectAnimation() {
    QString path = AppDir.path() + "/moving.gif";
    test::WriteFile(path, test::AnimatedGif(3, 16, 16, 2));
    FakeUi().FilesToOpen = {path};
    Click(Form->FlatSpeedButton1);
    Gif->ListView1->topLevelItem(0)->setSelected(true);
    ASSERT_TRUE(FakeUi().Errors.empty());
  }
};

TEST_F(AnimationTest, BothPanesPlayTheirOwnCopiesOfTheAnimation) {
  Gif->FlatCheckBox4->setChecked(true);
  SelectAnimation();
  EXPECT_EQ(ColoursShown(*Gif->Image5, 3).size(), 3u);
  EXPECT_EQ(ColoursShown(*Gif->Image1, 3).size(), 3u) << "the optimized picture plays too";
  EXPECT_NE(Gif->Image5->Picture().Graphic(), Gif->Image1->Picture().Graphic());
}

TEST_F(AnimationTest, AFullViewWindowPlaysItsCopyAndStopsItWhenClosed) {
  SelectAnimation();
  Click(Gif->Image5);
  auto* view = Form->findChild<TPicShow*>();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
  EXPECT_EQ(ColoursShown(*view->Image1, 3).size(), 3u);
  EXPECT_EQ(PainterCount(*view->Image1), 1);

  QTest::mouseClick(view->ImageBorderTopRight, Qt::LeftButton);
  EXPECT_EQ(PainterCount(*view->Image1), 0) << "a hidden window plays nothing";
  EXPECT_EQ(PainterCount(*Gif->Image5), 1);
}

TEST_F(AnimationTest, TheWindowClosesWithPaintersRunningAndLeavesNoThreadBehind) {
  int before = ThreadCount();
  SelectAnimation();
  Click(Gif->Image5);
  auto* view = Form->findChild<TPicShow*>();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
  ColoursShown(*view->Image1, 2);
  ASSERT_EQ(PainterCount(*Gif->Image5), 1);
  ASSERT_EQ(PainterCount(*view->Image1), 1);
  ASSERT_GT(ThreadCount(), before);

  Form->close();
  Form.reset();
  // A painter ends on its own thread and is deleted from the event loop: give it the time.
  EXPECT_TRUE(QTest::qWaitFor([&] { return ThreadCount() == before; }, 5000)) << ThreadCount() << " threads, " << before << " before";
}

}  // namespace corvane
