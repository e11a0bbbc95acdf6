#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>

#include "FileFilter.h"
#include "FormControls.h"
#include "FormFixture.h"
#include "Image.h"
#include "Label.h"
#include "Maker.h"
#include "UpDown.h"
#include "platform/FileUtils.h"

namespace corvane {

namespace {

struct TButtonState {
  QString Caption;
  QString Hint;
  bool Enabled;
  friend bool operator==(const TButtonState&, const TButtonState&) = default;
  friend std::ostream& operator<<(std::ostream& out, const TButtonState& s) {
    return out << '"' << s.Caption.toStdString() << "\" \"" << s.Hint.toStdString() << "\" " << s.Enabled;
  }
};

TButtonState StateOf(const QToolButton* button) { return {button->text(), Hint(button), button->isEnabled()}; }

// Counts the moves of a widget.
class MoveCounter : public QObject {
 public:
  int Moves = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Move) ++Moves;
    return false;
  }
};

}  // namespace

TEST_F(FormTest, StartsAsTheBorderlessWindowOnTheGifTab) {
  EXPECT_TRUE(Form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(Form->size(), QSize(699, 444));
  EXPECT_EQ(Form->windowTitle(), "Corvane");
  EXPECT_EQ(Form->font().pixelSize(), 11);
  EXPECT_EQ(Form->ActiveTab(), TForm1::kGifTab);
  EXPECT_TRUE(Gif->isVisible());
  EXPECT_EQ(Jpg->x(), 1000);
  EXPECT_TRUE(Form->OpenDialog().MultiSelect);
  EXPECT_EQ(Form->OpenDialog().NameFilters, QStringList{"CompuServe GIF Image (*.gif) (*.gif)"});
  EXPECT_FALSE(Form->FlatSpeedButton8->isEnabled());
  EXPECT_FALSE(Gif->FlatSpeedButton3->isEnabled());
  EXPECT_FALSE(Gif->FlatEdit2->isEnabled());
  EXPECT_EQ(Hint(Form->FlatSpeedButton9), "Optimize all  gif images");
  for (const char* name : {"ImageBorderTop", "Label6", "ToolBar2", "FlatSpeedButton11", "SB", "ListView1", "Image5",
                           "FlatGroupBox2", "CheckBoxTwoPass", "Edit2", "BUTrackBar1", "BUUpDown1", "RadioButton4"})
    EXPECT_NE(Form->findChild<QWidget*>(name), nullptr) << name;
}

TEST_F(FormTest, ToolbarFollowsTheTab) {
  const QString email = QStringLiteral("Any questions, suggestions or any other topic ,please email to us  --  ") + kMakerEmail;
  ChangeTab(TForm1::kJpgTab);
  EXPECT_FALSE(Gif->isVisible());
  EXPECT_EQ(Jpg->x(), 1);
  EXPECT_FALSE(Form->OpenDialog().MultiSelect);
  EXPECT_EQ(Form->OpenDialog().NameFilters.size(), 18);
  EXPECT_EQ(StateOf(Form->FlatSpeedButton1),
            (TButtonState{"Open", "Open an image and convert it to JPG(JPEG) format for optimization.", true}));
  EXPECT_EQ(StateOf(Form->FlatSpeedButton11), (TButtonState{"Clear", "Close the current opened file.", true}));
  EXPECT_EQ(StateOf(Form->FlatSpeedButton2), (TButtonState{"Test All", "", false}));
  EXPECT_EQ(StateOf(Form->FlatSpeedButton9), (TButtonState{"Save", "Save your worked JPG image", true}));
  EXPECT_EQ(StateOf(Form->FlatSpeedButton8), (TButtonState{"Abort", "", false}));
  EXPECT_EQ(StateOf(Form->FlatSpeedButton7), (TButtonState{"Email", email, true}));

  ChangeTab(TForm1::kGifTab);
  EXPECT_TRUE(Gif->isVisible());
  EXPECT_EQ(Jpg->x(), 1000);
  EXPECT_TRUE(Form->OpenDialog().MultiSelect);
  EXPECT_EQ(StateOf(Form->FlatSpeedButton1), (TButtonState{"Add", "Add some gif images to the list", true}));
  EXPECT_EQ(StateOf(Form->FlatSpeedButton11), (TButtonState{"Remove", "Remove selected images", true}));
  EXPECT_EQ(StateOf(Form->FlatSpeedButton2),
            (TButtonState{"Test All", "Test all gif images, but  doesn't  modify any image ", true}));
  EXPECT_EQ(StateOf(Form->FlatSpeedButton9), (TButtonState{"Optimize", "Optimize all  GIF images", true}));
  EXPECT_EQ(StateOf(Form->FlatSpeedButton8), (TButtonState{"Abort", "Stop optimize", false}));
  EXPECT_EQ(StateOf(Form->FlatSpeedButton6),
            (TButtonState{"Homepage", QStringLiteral("Visit our homepage  --  ") + kMakerHomepage, true}));
}

TEST_F(FormTest, TheJpgPanelSlidesInAHundredStepsOfTen) {
  MoveCounter counter;
  Jpg->installEventFilter(&counter);
  ChangeTab(TForm1::kJpgTab);
  EXPECT_EQ(counter.Moves, 100);
  counter.Moves = 0;
  ChangeTab(TForm1::kGifTab);
  EXPECT_EQ(counter.Moves, 100);
}

TEST_F(FormTest, AdjustmentControlsStayDisabledWithoutASourcePicture) {
  ChangeTab(TForm1::kJpgTab);
  for (QWidget* control : std::initializer_list<QWidget*>{Jpg->Edit2, Jpg->BUUpDown1, Jpg->BUTrackBar1,
                                                          Jpg->RadioButton1, Jpg->RadioButton4,
                                                          Jpg->IncrementalDisplay, Jpg->Label7})
    EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
  EXPECT_EQ(Jpg->BUUpDown1->geometry(), QRect(Jpg->Edit2->x() + 25, Jpg->Edit2->y() + 2, 13, 16));
  EXPECT_EQ(Jpg->Edit2->size(), QSize(40, 20));
  ChangeTab(TForm1::kGifTab);
  ChangeTab(TForm1::kJpgTab);
  EXPECT_FALSE(Jpg->BUTrackBar1->isEnabled());
}

TEST_F(FormTest, AdjustmentControlsKeepTheirStateWithASourcePicture) {
  TBitmap picture(4, 4);
  Jpg->Image2->Picture().SetGraphic(&picture);
  ChangeTab(TForm1::kJpgTab);
  ChangeTab(TForm1::kGifTab);
  ChangeTab(TForm1::kJpgTab);
  EXPECT_TRUE(Jpg->BUTrackBar1->isEnabled());
  EXPECT_TRUE(Jpg->RadioButton3->isEnabled());
}

TEST_F(FormTest, JpgControlsStartWithTheirTextsAndRanges) {
  EXPECT_EQ(Jpg->Edit2->text(), "0");
  EXPECT_EQ(Jpg->BUTrackBar1->minimum(), 0);
  EXPECT_EQ(Jpg->BUTrackBar1->maximum(), 100);
  EXPECT_EQ(Jpg->BUTrackBar1->tickInterval(), 5);
  EXPECT_EQ(Jpg->BUTrackBar1->value(), 0);
  EXPECT_EQ(Jpg->RadioButton1->text(), "  8    bit");
  EXPECT_EQ(Jpg->RadioButton2->text(), " 24   bit ");
  EXPECT_EQ(Jpg->RadioButton4->text(), "  Grayscale");
  // Two groups: choosing a colour space leaves the pixel format alone.
  Jpg->RadioButton2->setChecked(true);
  Jpg->RadioButton4->setChecked(true);
  EXPECT_TRUE(Jpg->RadioButton2->isChecked());
  EXPECT_FALSE(Jpg->RadioButton3->isChecked());
}

TEST_F(FormTest, UpDownStepsTheEditWithinItsRange) {
  auto arrows = Jpg->BUUpDown1->findChildren<QToolButton*>();
  ASSERT_EQ(arrows.size(), 2);
  Jpg->Edit2->setText("99");
  Click(arrows[0]);
  EXPECT_EQ(Jpg->Edit2->text(), "100");
  Click(arrows[0]);
  EXPECT_EQ(Jpg->Edit2->text(), "100");
  Jpg->Edit2->setText("abc");
  Click(arrows[1]);
  EXPECT_EQ(Jpg->Edit2->text(), "0");
  Jpg->Edit2->setText("2147483647");
  Click(arrows[0]);
  EXPECT_EQ(Jpg->Edit2->text(), "100");
}

TEST_F(FormTest, StatusBarRepeatsTheHintUnderTheMouse) {
  QTest::mouseMove(Form->FlatSpeedButton1);
  EXPECT_EQ(Form->SB->currentMessage(), "Add some gif images to the list");
  QTest::mouseMove(Form->Label5);
  EXPECT_EQ(Form->SB->currentMessage(), "Minimize");
  QTest::mouseMove(Gif->StaticText3);  // no hint of its own
  EXPECT_EQ(Form->SB->currentMessage(), "");
}

TEST_F(FormTest, LinksGoToTheDesktopsHandler) {
  Click(Form->Label3);
  Click(Form->FlatSpeedButton7);
  Click(Form->FlatSpeedButton5);
  ASSERT_EQ(FakeUi().Urls.size(), 3u);
  EXPECT_EQ(FakeUi().Urls[0], QUrl(kMakerHomepage));
  EXPECT_EQ(FakeUi().Urls[1].toString(), QStringLiteral("mailto:") + kMakerEmail + "?SUBJECT=Corvane");
  EXPECT_TRUE(FakeUi().Urls[2].isLocalFile());
  EXPECT_TRUE(FakeUi().Urls[2].toLocalFile().endsWith("/help.html")) << "the page shipped beside the program";
}

TEST(HelpFile, TheCompiledHelpFirstThenTheShippedPage) {
  QTemporaryDir dir;
  std::filesystem::path program = dir.path().toStdString();
  EXPECT_EQ(HelpFile(program), program / "help.chm") << "the desktop says nothing when neither is there";
  WriteFileAtomically(program / "help.html", std::vector<uint8_t>{'<'});
  EXPECT_EQ(HelpFile(program), program / "help.html");
  WriteFileAtomically(program / "help.chm", std::vector<uint8_t>{'I'});
  EXPECT_EQ(HelpFile(program), program / "help.chm");
}

}  // namespace corvane
