#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include "FileFilter.h"
#include "FormFixture.h"
#include "Image.h"
#include "Label.h"
#include "PicShow.h"
#include "UpDown.h"
#include "jpegopt/SizeText.h"
#include "platform/FileUtils.h"
#include "support/JpegBytes.h"
#include "support/PhotoPicture.h"

namespace corvane {

namespace {

using test::JpegBytes;

QString Text(int64_t bytes) { return QString::fromStdString(FormatByteSize(bytes)); }

// Whether djpeg, a decoder of its own, reads the whole file.
bool DjpegReads(const std::filesystem::path& file) {
  return test::RunCommand("djpeg -outfile /dev/null " + file.string()) == 0;
}

// Records, at each change of the watched widget's enabled state, the state and whether
// the main window shows the busy cursor.
class EnabledChanges : public QObject {
 public:
  EnabledChanges(QWidget* watched, QWidget* window) : FWatched(watched), FWindow(window) {
    watched->installEventFilter(this);
  }
  std::vector<std::pair<bool, bool>> Changes;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::EnabledChange)
      Changes.emplace_back(FWatched->isEnabled(), FWindow->cursor().shape() == Qt::BusyCursor);
    return false;
  }

 private:
  QWidget* FWatched;
  QWidget* FWindow;
};

}  // namespace

class JpgTabTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    ChangeTab(TForm1::kJpgTab);
    Photo.SaveToFile(File("photo.bmp"));
  }

  std::filesystem::path File(const char* name) { return AppDir.filePath(QLatin1String(name)).toStdString(); }
  void Open(const std::filesystem::path& file) {
    FakeUi().FilesToOpen = {QString::fromStdString(file.string())};
    Click(Form->FlatSpeedButton1);
    Jpg->WaitForJpgResult();
  }
  void Save(const char* name, int filterIndex) {
    FakeUi().SaveChoice = TSaveDialogChoice{QString::fromStdString(File(name).string()), filterIndex};
    Click(Form->FlatSpeedButton9);
  }
  // The temporary file once the result of the setting in force shows.
  std::vector<uint8_t> Temporary() {
    Jpg->WaitForJpgResult();
    return ReadWholeFile(File("Tmp.jpg"));
  }
  std::vector<QWidget*> ValueControls() { return {Jpg->Edit2, Jpg->BUUpDown1, Jpg->BUTrackBar1}; }
  std::vector<QWidget*> AdjustmentControls() {
    return {Jpg->FlatGroupBox3, Jpg->Label10, Jpg->Edit2, Jpg->BUUpDown1, Jpg->BUTrackBar1,
            Jpg->Label7, Jpg->Label8, Jpg->Label17, Jpg->Label18, Jpg->RadioButton1,
            Jpg->RadioButton2, Jpg->RadioButton3, Jpg->RadioButton4, Jpg->ProgressiveDisplay,
            Jpg->IncrementalDisplay};
  }
  int EnabledCount() {
    int count = 0;
    for (QWidget* control : AdjustmentControls()) count += control->isEnabled();
    return count;
  }
  // On its round mark: a radio button takes clicks on its mark and its text only.
  void ClickRadio(QRadioButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }
  void TypeIntoEdit(const QString& text) {
    Jpg->Edit2->setFocus();
    Jpg->Edit2->selectAll();
    QTest::keyClicks(Jpg->Edit2, text);
  }

  test::PhotoBitmap Photo{96, 64, 3};
};

TEST_F(JpgTabTest, OpeningAPictureShowsItAndAResultAtQuality60) {
  Open(File("photo.bmp"));
  ASSERT_EQ(FakeUi().OpenDialogs.size(), 1u);
  EXPECT_FALSE(FakeUi().OpenDialogs[0].MultiSelect);
  EXPECT_EQ(FakeUi().OpenDialogs[0].NameFilters, QtNameFilters(AllGraphicsOpenFilter()));
  EXPECT_TRUE(FakeUi().Messages.empty());
  EXPECT_TRUE(FakeUi().Errors.empty());

  EXPECT_EQ(Jpg->BUTrackBar1->value(), 40);
  EXPECT_EQ(Jpg->Edit2->text(), "40");
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 60));
  EXPECT_TRUE(DjpegReads(File("Tmp.jpg")));

  int64_t source = int64_t(std::filesystem::file_size(File("photo.bmp")));
  int64_t result = int64_t(Temporary().size());
  EXPECT_EQ(Jpg->LBSrcFN->text(), "photo.bmp");
  EXPECT_EQ(Jpg->SrcSize->text(), Text(source));
  EXPECT_EQ(Jpg->CurrentSize->text(), Text(result));
  EXPECT_EQ(Jpg->SavedSize->text(), Text(source - result));
  EXPECT_EQ(QSize(Jpg->Image2->Picture().Width(), Jpg->Image2->Picture().Height()), QSize(96, 64));
  ASSERT_NE(Jpg->Image3->Picture().Graphic(), nullptr);
  EXPECT_EQ(Jpg->Image3->Picture().Graphic()->ClassName(), "TJPEGImage");
  EXPECT_TRUE(Jpg->RadioButton2->isChecked() && Jpg->RadioButton3->isChecked());
  EXPECT_FALSE(Jpg->ProgressiveDisplay->isChecked());
  EXPECT_EQ(EnabledCount(), 15);
  EXPECT_EQ(Form->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(JpgTabTest, SliderEditAndUpDownSetTheCompression) {
  Open(File("photo.bmp"));
  Jpg->BUTrackBar1->setValue(0);
  EXPECT_EQ(Jpg->Edit2->text(), "0");
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 100));
  Jpg->BUTrackBar1->setValue(100);
  EXPECT_EQ(Jpg->Edit2->text(), "100");
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 0));

  TypeIntoEdit("25");
  EXPECT_EQ(Jpg->Edit2->text(), "25");
  EXPECT_EQ(Jpg->BUTrackBar1->value(), 25);
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 75));
  EXPECT_EQ(Form->focusWidget(), Jpg->Edit2);  // typing went on into the edit

  Click(Jpg->BUUpDown1->findChildren<QToolButton*>()[0]);
  EXPECT_EQ(Jpg->Edit2->text(), "26");
  EXPECT_EQ(Jpg->BUTrackBar1->value(), 26);
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 74));
  EXPECT_TRUE(FakeUi().Errors.empty());
}

TEST_F(JpgTabTest, TheTrackBarFollowsTheKeyboard) {
  Open(File("photo.bmp"));
  Jpg->BUTrackBar1->setFocus();
  for (int i = 0; i < 3; ++i) QTest::keyClick(Jpg->BUTrackBar1, Qt::Key_Right);
  EXPECT_EQ(Jpg->BUTrackBar1->value(), 43);
  EXPECT_EQ(Jpg->Edit2->text(), "43");
  QTest::keyClick(Jpg->BUTrackBar1, Qt::Key_PageUp);
  EXPECT_EQ(Jpg->BUTrackBar1->value(), 53);
  QTest::keyClick(Jpg->BUTrackBar1, Qt::Key_PageDown);
  QTest::keyClick(Jpg->BUTrackBar1, Qt::Key_Left);
  EXPECT_EQ(Jpg->BUTrackBar1->value(), 42);
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 58));
  QTest::keyClick(Jpg->BUTrackBar1, Qt::Key_End);
  EXPECT_EQ(Jpg->Edit2->text(), "100");
  EXPECT_EQ(Form->focusWidget(), Jpg->BUTrackBar1);
}

TEST_F(JpgTabTest, TheSliderFollowsTheMouseThroughEveryStep) {
  Open(File("photo.bmp"));
  QSlider* slider = Jpg->BUTrackBar1;
  auto at = [slider](int value) {
    return QPoint(QStyle::sliderPositionFromValue(0, 100, value, slider->width() - 10) + 5, slider->height() / 2);
  };
  QTest::mousePress(slider, Qt::LeftButton, {}, at(40));
  for (int value : {50, 60, 70}) QTest::mouseMove(slider, at(value));
  QTest::mouseRelease(slider, Qt::LeftButton, {}, at(70));
  EXPECT_GT(slider->value(), 60);
  EXPECT_EQ(Jpg->Edit2->text(), QString::number(slider->value()));
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 100 - slider->value()));
}

// Results are made on a worker: the value controls stay on and the cursor busy until the
// result of the setting in force shows.
TEST_F(JpgTabTest, RadioButtonsMakeTheResultWhileTheValueControlsStayOn) {
  Open(File("photo.bmp"));
  std::vector<uint8_t> rgb = Temporary();
  EnabledChanges trackBar(Jpg->BUTrackBar1, Form.get());
  ClickRadio(Jpg->RadioButton4);
  EXPECT_TRUE(Jpg->BUTrackBar1->isEnabled());
  EXPECT_EQ(Form->cursor().shape(), Qt::BusyCursor);
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 60, true));
  EXPECT_EQ(Form->cursor().shape(), Qt::ArrowCursor);
  EXPECT_TRUE(DjpegReads(File("Tmp.jpg")));
  ClickRadio(Jpg->RadioButton1);  // the pixel format leaves the file as it is
  ClickRadio(Jpg->RadioButton3);
  EXPECT_TRUE(Jpg->RadioButton1->isChecked());
  EXPECT_EQ(Temporary(), rgb);
  EXPECT_TRUE(trackBar.Changes.empty());
}

// Quick steps drop the results of the settings passed over: the one shown, its sizes and
// the temporary file are those of the last.
TEST_F(JpgTabTest, QuickStepsShowTheLatestSettingOnly) {
  Open(File("photo.bmp"));
  Jpg->BUTrackBar1->setFocus();
  for (int i = 0; i < 10; ++i) QTest::keyClick(Jpg->BUTrackBar1, Qt::Key_Right);
  EXPECT_EQ(Jpg->Edit2->text(), "50");
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 50));
  EXPECT_EQ(Jpg->CurrentSize->text(), Text(int64_t(JpegBytes(Photo, 50).size())));
  EXPECT_EQ(Form->focusWidget(), Jpg->BUTrackBar1);
}

TEST_F(JpgTabTest, EditTextsThatAreNoCompressionAreReported) {
  Open(File("photo.bmp"));
  std::vector<uint8_t> before = Temporary();
  TypeIntoEdit("abc");
  ASSERT_FALSE(FakeUi().Errors.empty());
  EXPECT_EQ(FakeUi().Errors.back(), (std::pair<QString, QString>("Corvane", "'abc' is not a valid integer value.")));
  Jpg->Edit2->clear();
  EXPECT_EQ(FakeUi().Errors.back().second, "'' is not a valid integer value.");
  Jpg->Edit2->setText("150");
  ASSERT_EQ(FakeUi().Messages.size(), 1u);
  EXPECT_EQ(FakeUi().Messages[0],
            (std::pair<QString, QString>("Corvane", "Sorry, \"150\" is not a integer between 0 and 100 ")));
  EXPECT_EQ(Jpg->BUTrackBar1->value(), 40);
  EXPECT_EQ(Jpg->Edit2->text(), "40") << "the value in force";
  EXPECT_EQ(Temporary(), before);
  EXPECT_EQ(EnabledCount(), 15);
}

TEST_F(JpgTabTest, AResultLargerThanTheSourceSavesNothing) {
  WriteFileAtomically(File("small.jpg"), JpegBytes(Photo, 5));
  Open(File("small.jpg"));
  EXPECT_EQ(Jpg->SavedSize->text(), "0");
  EXPECT_GT(Temporary().size(), std::filesystem::file_size(File("small.jpg")));
}

TEST_F(JpgTabTest, SaveAddsTheFilterExtensionUnlessTheNameHasAJpegOne) {
  Open(File("photo.bmp"));
  Save("photo", 2);
  ASSERT_EQ(FakeUi().SaveDialogs.size(), 1u);
  EXPECT_EQ(FakeUi().SaveDialogs[0].FileName, "photo");
  EXPECT_EQ(FakeUi().SaveDialogs[0].NameFilters,
            (QStringList{"JPEG Image File (*.jpg) (*.jpg)", "JPEG Image File (*.jpeg) (*.jpeg)"}));
  EXPECT_EQ(ReadWholeFile(File("photo.jpeg")), Temporary());
  EXPECT_TRUE(DjpegReads(File("photo.jpeg")));

  Save("photo.JPG", 1);
  EXPECT_EQ(ReadWholeFile(File("photo.JPG.jpg")), Temporary());
  Jpg->BUTrackBar1->setValue(90);
  FakeUi().SaveChoice = TSaveDialogChoice{QString::fromStdString(File("photo.jpeg").string()), 1};
  Jpg->Save1->trigger();  // the result pane's pop-up menu
  EXPECT_EQ(ReadWholeFile(File("photo.jpeg")), JpegBytes(Photo, 10));

  Save("photo.png", 3);
  FakeUi().SaveChoice.reset();  // cancelled
  Click(Form->FlatSpeedButton9);
  EXPECT_EQ(FakeUi().SaveDialogs.size(), 5u);
  EXPECT_FALSE(std::filesystem::exists(File("photo.png")));
  EXPECT_TRUE(FakeUi().Errors.empty());

  Save("no-such-folder/photo", 1);
  ASSERT_EQ(FakeUi().Errors.size(), 1u);
  EXPECT_EQ(FakeUi().Errors[0].second,
            QString::fromStdString("Cannot create file " + File("no-such-folder/photo.jpg").string() +
                                   ": No such file or directory."));
  EXPECT_EQ(Jpg->Edit2->text(), "90");
  EXPECT_TRUE(Jpg->BUTrackBar1->isEnabled());
}

TEST_F(JpgTabTest, SaveWaitsForAPictureStillBeingOpened) {
  Open(File("photo.bmp"));
  test::PhotoBitmap other(40, 30, 9);
  other.SaveToFile(File("other.bmp"));
  FakeUi().FilesToOpen = {QString::fromStdString(File("other.bmp").string())};
  Click(Form->FlatSpeedButton1);
  Save("saved", 1);
  ASSERT_EQ(FakeUi().SaveDialogs.size(), 1u);
  EXPECT_EQ(FakeUi().SaveDialogs[0].FileName, "other");
  EXPECT_EQ(ReadWholeFile(File("saved.jpg")), JpegBytes(other, 60));
}

// Qt's own dialog, as the program shows it: the name typed (or the one offered), the
// filter picked with the keyboard, Enter.
TEST_F(JpgTabTest, SaveThroughTheFileDialogKeepsTheExtensionRules) {
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  Open(File("photo.bmp"));
  FakeUi().RealFileDialogs = true;
  QStringList shownFilters;
  auto saveAs = [&](const QString& name, int filterDowns) {
    QTimer::singleShot(0, [&, name, filterDowns] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo");
      auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
      if (!combo || !edit) return dialog->reject();
      shownFilters.clear();
      for (int i = 0; i < combo->count(); ++i) shownFilters << combo->itemText(i);
      for (int i = 0; i < filterDowns; ++i) QTest::keyClick(combo, Qt::Key_Down);
      if (!name.isNull()) edit->setText(name);
      QTest::keyClick(edit, Qt::Key_Return);
      if (dialog->isVisible()) dialog->reject();
    });
    Click(Form->FlatSpeedButton9);
  };
  saveAs(QString(), 0);
  EXPECT_EQ(ReadWholeFile(File("photo.jpg")), Temporary()) << "the name offered, with the first filter";
  EXPECT_EQ(FakeUi().SaveDialogs.back().StartDirectory, AppDir.path()) << "the folder of the opened picture";
  EXPECT_EQ(shownFilters, (QStringList{"JPEG Image File (*.jpg)", "JPEG Image File (*.jpeg)"}));
  saveAs("photo.JPG", 0);
  EXPECT_EQ(ReadWholeFile(File("photo.JPG.jpg")), Temporary());
  saveAs("second", 1);
  EXPECT_EQ(ReadWholeFile(File("second.jpeg")), Temporary());
  saveAs("third.jpeg", 0);
  EXPECT_EQ(ReadWholeFile(File("third.jpeg")), Temporary());
  EXPECT_TRUE(FakeUi().Errors.empty());

  // The open dialog keeps the runs of spaces that line the descriptions up.
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo");
    if (combo) shownFilters = {combo->itemText(1)};
    dialog->reject();
  });
  Click(Form->FlatSpeedButton1);
  ASSERT_EQ(shownFilters.size(), 1);
  EXPECT_EQ(shownFilters[0].remove(QChar(0x200B)), "Bitmap      (*.bmp; *.rle; *.dib)");
  EXPECT_EQ(FakeUi().OpenDialogs.back().StartDirectory, AppDir.path());
}

TEST_F(JpgTabTest, ClearEmptiesTheTabUntilTheNextOpen) {
  Open(File("photo.bmp"));
  FakeUi().FilesToOpen.clear();  // the open dialog cancelled
  Click(Form->FlatSpeedButton1);
  EXPECT_EQ(Jpg->LBSrcFN->text(), "photo.bmp");
  Click(Form->FlatSpeedButton11);
  EXPECT_EQ(Jpg->Image2->Picture().Graphic(), nullptr);
  EXPECT_EQ(Jpg->Image3->Picture().Graphic(), nullptr);
  for (QLabel* label : {Jpg->LBSrcFN, Jpg->SrcSize, Jpg->CurrentSize, Jpg->SavedSize}) EXPECT_EQ(label->text(), " ");
  EXPECT_EQ(EnabledCount(), 0);
  EXPECT_EQ(Jpg->BUTrackBar1->value(), 40);

  FakeUi().SaveChoice = TSaveDialogChoice{QString::fromStdString(File("cleared").string()), 1};
  Click(Form->FlatSpeedButton9);
  EXPECT_TRUE(FakeUi().SaveDialogs.empty());
  EXPECT_FALSE(std::filesystem::exists(File("cleared.jpg")));
  Click(Jpg->Image2);
  EXPECT_TRUE(Form->findChildren<TPicShow*>().isEmpty());

  ChangeTab(TForm1::kGifTab);
  ChangeTab(TForm1::kJpgTab);
  EXPECT_EQ(EnabledCount(), 0);
  Open(File("photo.bmp"));
  ChangeTab(TForm1::kGifTab);
  ChangeTab(TForm1::kJpgTab);
  EXPECT_EQ(EnabledCount(), 15);
}

TEST_F(JpgTabTest, AnUnreadableFileShowsTheMessageAndKeepsThePictureBefore) {
  WriteFileAtomically(File("broken.jpg"), std::vector<uint8_t>{0xFF, 0xD8, 0xFF});
  WriteFileAtomically(File("notes.txt"), std::vector<uint8_t>{'h', 'i'});
  Open(File("broken.jpg"));
  EXPECT_EQ(EnabledCount(), 0);  // no picture yet
  Open(File("photo.bmp"));
  std::vector<uint8_t> result = Temporary();
  Open(File("notes.txt"));
  Open(File("missing.png"));
  EXPECT_EQ(FakeUi().Messages, (std::vector<std::pair<QString, QString>>(
                                   3, {"Corvane", "Sorry, it is not a correct file format!!"})));
  EXPECT_EQ(Jpg->LBSrcFN->text(), "photo.bmp");
  EXPECT_EQ(Jpg->Image2->Picture().Width(), 96);
  EXPECT_EQ(Temporary(), result);
  EXPECT_EQ(EnabledCount(), 15);
  Jpg->BUTrackBar1->setValue(0);
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 100));
}

TEST_F(JpgTabTest, APictureDroppedOntoTheTabOpens) {
  QMimeData web;
  web.setUrls({QUrl("https://example.org/photo.bmp")});
  QDragEnterEvent refused(QPoint(300, 100), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(Jpg, &refused);
  EXPECT_FALSE(refused.isAccepted());

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(File("photo.bmp").string()))});
  QDragEnterEvent enter(QPoint(300, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(Jpg, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(300, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(Jpg, &drop);
  EXPECT_TRUE(drop.isAccepted());
  Jpg->WaitForJpgResult();
  EXPECT_EQ(Jpg->LBSrcFN->text(), "photo.bmp");
  EXPECT_EQ(Jpg->Edit2->text(), "40");
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 60));
  EXPECT_FALSE(Jpg->Edit2->acceptDrops());  // a drop onto the edit opens the picture too
}

TEST_F(JpgTabTest, BothPanesOpenFullViewWindows) {
  Open(File("photo.bmp"));
  Click(Jpg->Image2);
  Jpg->FullView1->trigger();
  QList<TPicShow*> views = Form->findChildren<TPicShow*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(views.size(), 2);
  EXPECT_EQ(views[0]->LabelCaption->text(), "Source Image Preview");
  EXPECT_EQ(views[1]->LabelCaption->text(), "Optimized Image Preview");
  for (TPicShow* view : views) {
    EXPECT_EQ(view->Image1->Picture().Width(), 96);
    EXPECT_FALSE(view->Image1->Stretch());
  }
}

TEST_F(JpgTabTest, IncrementalDisplayAppliesFromTheNextResult) {
  Open(File("photo.bmp"));
  Click(Jpg->IncrementalDisplay);
  EXPECT_FALSE(Jpg->Image3->IncrementalDisplay());
  Jpg->BUTrackBar1->setValue(41);
  Jpg->WaitForJpgResult();
  EXPECT_TRUE(Jpg->Image3->IncrementalDisplay());
  Jpg->BUTrackBar1->setValue(42);
  EXPECT_EQ(Temporary(), JpegBytes(Photo, 58));
  EXPECT_EQ(Jpg->Image3->Picture().Width(), 96);
}

TEST_F(FormTest, AFailedRecompressionLeavesTheValueControlsOffAndTheCursorBusy) {
  QString notADirectory = AppDir.filePath("plain-file");
  WriteFileAtomically(notADirectory.toStdString(), std::vector<uint8_t>{1});
  test::PhotoBitmap(8, 8).SaveToFile(AppDir.filePath("photo.bmp").toStdString());
  TForm1 form(FakeUi(), notADirectory.toStdString());
  form.FlatTabControl1->SetActiveTab(TForm1::kJpgTab);
  FakeUi().FilesToOpen = {AppDir.filePath("photo.bmp")};
  form.FlatSpeedButton1->click();
  form.JpgTab->WaitForJpgResult();
  ASSERT_EQ(FakeUi().Errors.size(), 1u);
  EXPECT_EQ(FakeUi().Errors[0].second, "Cannot create file " + notADirectory + "/Tmp.jpg: Not a directory.");
  EXPECT_FALSE(form.JpgTab->BUTrackBar1->isEnabled());
  EXPECT_TRUE(form.JpgTab->RadioButton1->isEnabled());
  EXPECT_EQ(form.cursor().shape(), Qt::BusyCursor);
}

}  // namespace corvane
