// The GIF tab's runs driven through the window: Test All, Optimize, Abort, the item test
// on selection, the error report and the blocking of list changes while work is under way.

#include <sys/stat.h>

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>

#include "Application.h"
#include "FormFixture.h"
#include "TestGifs.h"
#include "GifListView.h"
#include "Image.h"
#include "gif/GIFImage.h"
#include "platform/MulDiv.h"
#include "jpegopt/SizeText.h"

namespace corvane {

using test::ReadFile;
using test::TBytes;
using test::WriteFile;

class GifRunTest : public FormTest {
 protected:
  // Writes the file into the test's folder and lists it.
  QString AddFile(const QString& name, const TBytes& bytes) {
    QString path = AppDir.path() + "/" + name;
    WriteFile(path, bytes);
    AddPath(path);
    return path;
  }
  void AddPath(const QString& path) {
    FakeUi().FilesToOpen = {path};
    Click(Form->FlatSpeedButton1);
  }
  QTreeWidget* List() { return Gif->ListView1; }
  QStringList Row(int index) {
    QStringList texts;
    for (int column = 1; column < 5; ++column) texts << List()->topLevelItem(index)->text(column);
    return texts;
  }
  void ClickRow(int index) {
    QRect place = List()->visualItemRect(List()->topLevelItem(index));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, place.center());
  }
  void TestAll() { Click(Form->FlatSpeedButton2); }
  void Optimize(bool answer) {
    FakeUi().ConfirmAnswer = answer;
    Click(Form->FlatSpeedButton9);
  }
  // The window as it stands when no work is under way.
  void ExpectIdle() {
    EXPECT_FALSE(Form->FlatSpeedButton8->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(Gif->GifWorkUnderWay());
    EXPECT_TRUE(Form->FlatSpeedButton1->isEnabled());
    EXPECT_TRUE(Form->FlatSpeedButton2->isEnabled());
    EXPECT_FALSE(Gif->SBProgress->isVisible());
  }
  static QString Size(const TBytes& bytes) { return QString::number(bytes.size()); }
};

TEST_F(GifRunTest, TestAllFillsTheRowsAndTheTotalAndChangesNoFile) {
  TBytes sloppy = test::SloppyGif(), tight = test::TightGif();
  ASSERT_LT(tight.size(), sloppy.size());
  QString first = AddFile("sloppy.gif", sloppy);
  AddFile("tight.gif", tight);
  AddFile("notes.gif", {'h', 'e', 'l', 'l', 'o'});
  AddFile("again.gif", sloppy);

  std::vector<QString> during;
  FakeUi().WhilePending = [&] {
    during.push_back(QStringLiteral("%1 %2 %3 %4")
                         .arg(Form->FlatSpeedButton8->isEnabled())
                         .arg(QApplication::overrideCursor() ? int(QApplication::overrideCursor()->shape()) : -1)
                         .arg(Gif->SBProgress->isVisible())
                         .arg(Gif->SBProgress->value()));
  };
  TestAll();
  QString saved = QString::number(2 * (sloppy.size() - tight.size()));
  int reduction = MulDiv(int32_t(sloppy.size() - tight.size()), 100, int32_t(sloppy.size()));
  EXPECT_EQ(Row(0), (QStringList{"sloppy.gif", Size(sloppy), Size(tight), QString::number(reduction) + "%"}));
  EXPECT_EQ(Row(1), (QStringList{"tight.gif", Size(tight), Size(tight), "0%"}));
  EXPECT_EQ(Row(2).mid(0, 2), (QStringList{"notes.gif", "5"}));
  EXPECT_FALSE(Row(2)[2].isEmpty()) << "the reader's message";
  EXPECT_EQ(Row(2)[3], "");
  EXPECT_EQ(Row(3), Row(0).replaceInStrings("sloppy", "again"));
  EXPECT_EQ(Gif->StaticText4->text(), saved + " bytes");
  EXPECT_EQ(ReadFile(first), sloppy);
  // A pump after each complete file, none after the one that failed.
  QString busy = QString("1 %1 1 ").arg(int(Qt::WaitCursor));
  EXPECT_EQ(during, (std::vector<QString>{busy + "1", busy + "2", busy + "4"}));
  ExpectIdle();
  EXPECT_TRUE(FakeUi().Errors.empty());
}

TEST_F(GifRunTest, ARunThatSavesNothingLeavesTheTotalOfThePreviousRun) {
  QString sloppy = AddFile("sloppy.gif", test::SloppyGif());
  TestAll();
  QString total = Gif->StaticText4->text();
  ASSERT_NE(total, "0 bytes");
  WriteFile(sloppy, test::TightGif());
  TestAll();
  EXPECT_EQ(Gif->StaticText4->text(), total);
  EXPECT_EQ(List()->topLevelItem(0)->text(2), Size(test::SloppyGif())) << "the first run's results stay in view";
}

TEST_F(GifRunTest, OptimizeAnsweredNoStartsNothing) {
  QString path = AddFile("sloppy.gif", test::SloppyGif());
  Optimize(false);
  EXPECT_EQ(FakeUi().Confirmations.size(), 1u);
  EXPECT_EQ(Row(0), (QStringList{"sloppy.gif", "", "", ""}));
  EXPECT_EQ(ReadFile(path), test::SloppyGif());
  EXPECT_EQ(FakeUi().MessagePumps, 0);
  EXPECT_EQ(Gif->StaticText4->text(), "0 bytes");
}

TEST_F(GifRunTest, OptimizeAnsweredYesRewritesOnlySmallerFilesAfterTheirBackups) {
  TBytes sloppy = test::SloppyGif(), tight = test::TightGif(), text{'n', 'o'};
  QString shrinks = AddFile("sloppy.gif", sloppy);
  QString stays = AddFile("tight.gif", tight);
  QString broken = AddFile("broken.gif", text);
  Click(Gif->FlatCheckBox2);
  QString backup = Gif->FlatEdit2->text();
  Optimize(true);
  EXPECT_EQ(ReadFile(shrinks), tight);
  EXPECT_EQ(ReadFile(stays), tight);
  EXPECT_EQ(ReadFile(broken), text);
  EXPECT_EQ(ReadFile(backup + "/sloppy.gif"), sloppy);
  EXPECT_EQ(ReadFile(backup + "/tight.gif"), tight);
  EXPECT_EQ(ReadFile(backup + "/broken.gif"), text) << "a file that fails to parse is backed up too";
  EXPECT_EQ(Gif->StaticText4->text(), QString::number(sloppy.size() - tight.size()) + " bytes");
  EXPECT_EQ(Row(1)[3], "0%");
  ExpectIdle();
}

TEST_F(GifRunTest, AbortDuringARunLeavesTheFileUnderWorkAndTheLaterOnesUntouched) {
  TBytes sloppy = test::SloppyGif();
  QString first = AddFile("one.gif", sloppy);
  QString second = AddFile("two.gif", sloppy);
  QString third = AddFile("three.gif", sloppy);
  FakeUi().WhilePending = [&] { Click(Form->FlatSpeedButton8); };
  Optimize(true);
  EXPECT_EQ(ReadFile(first), test::TightGif()) << "done before the click";
  EXPECT_EQ(ReadFile(second), sloppy);
  EXPECT_EQ(ReadFile(third), sloppy);
  EXPECT_EQ(Row(1), (QStringList{"two.gif", "", "", ""}));
  EXPECT_EQ(Row(2), (QStringList{"three.gif", "", "", ""}));
  EXPECT_EQ(FakeUi().MessagePumps, 1);
  ExpectIdle();

  FakeUi().WhilePending = nullptr;
  TestAll();  // the next run starts afresh
  EXPECT_EQ(Row(2)[1], Size(sloppy));
}

TEST_F(GifRunTest, EachRowShowsWhatOptimizeDidAndTheTotalCountsOnlyReplacedFiles) {
  TBytes sloppy = test::SloppyGif(), wide = test::SloppyGif(300, 100), tight = test::TightGif();
  QString replaced = AddFile("sloppy.gif", sloppy);
  QString refused = AddFile("wide.gif", wide);
  AddFile("tight.gif", tight);
  AddFile("broken.gif", {'n', 'o'});
  Gif->SetGifEncodingCheck([&](std::span<const uint8_t> original, std::span<const uint8_t>) {
    return original.size() == wide.size() ? std::optional<std::string>("frame 1 differs at 0,0") : std::nullopt;
  });
  TestAll();
  QStringList tested = Row(1);
  QString smaller = QString::fromStdString(GroupDigits(tested[1].toLongLong() - tested[2].toLongLong()));
  EXPECT_EQ(List()->topLevelItem(1)->toolTip(4), "Can be made " + smaller + " bytes smaller");
  Optimize(true);
  EXPECT_EQ(ReadFile(replaced), tight);
  EXPECT_EQ(ReadFile(refused), wide);
  EXPECT_EQ(Row(1), tested) << "the row keeps the first run's sizes";
  auto tip = [&](int row) { return List()->topLevelItem(row)->toolTip(2); };
  EXPECT_TRUE(tip(0).startsWith("Replaced: ")) << tip(0).toStdString();
  EXPECT_EQ(tip(1), "Not replaced: frame 1 differs at 0,0");
  EXPECT_EQ(tip(2), "No smaller encoding: the file stays as it is");
  EXPECT_TRUE(tip(3).startsWith("Failed: ")) << tip(3).toStdString();
  for (int row : {0, 1, 3}) EXPECT_FALSE(List()->topLevelItem(row)->icon(4).isNull()) << row;
  EXPECT_TRUE(List()->topLevelItem(2)->icon(4).isNull());
  int64_t saved = int64_t(sloppy.size() - tight.size());
  EXPECT_EQ(Gif->StaticText4->text(), QString::number(saved) + " bytes");
  int64_t read = int64_t(sloppy.size() + wide.size() + tight.size());
  EXPECT_EQ(Gif->SBSummary->text().toStdString(),
            QString("Optimize: 4 files, 1 replaced, 1 not replaced, 1 failed; %1 bytes saved (%2%)")
                .arg(QString::fromStdString(GroupDigits(saved)))
                .arg((saved * 100 + read / 2) / read)
                .toStdString());
  ExpectIdle();
}

// The run works on a worker: an Abort clicked while a file is under work ends that file
// at the pipeline's next look at the flag, with no pause for window messages.
TEST_F(GifRunTest, AbortActsWithinTheFileUnderWork) {
  TBytes sloppy = test::SloppyGif();
  QString first = AddFile("one.gif", sloppy);
  AddFile("two.gif", sloppy);
  QObject::connect(List(), &QTreeWidget::itemChanged, Form.get(), [&](QTreeWidgetItem* row, int column) {
    if (row == List()->topLevelItem(0) && column == 2 && !row->text(2).isEmpty()) Click(Form->FlatSpeedButton8);
  });
  Optimize(true);
  EXPECT_EQ(Row(0), (QStringList{"one.gif", Size(sloppy), "", ""}));
  EXPECT_EQ(Row(1), (QStringList{"two.gif", "", "", ""}));
  EXPECT_EQ(ReadFile(first), sloppy);
  EXPECT_EQ(FakeUi().MessagePumps, 0);
  EXPECT_TRUE(List()->topLevelItem(0)->toolTip(1).startsWith("Aborted"));
  EXPECT_EQ(Gif->SBSummary->text().toStdString(), "Optimize (aborted): 0 files, 0 replaced; 0 bytes saved (0%)");
  ExpectIdle();
}

TEST_F(GifRunTest, HeaderClicksSortTheRowsAndTheirItemsTogether) {
  AddFile("b.gif", test::SloppyGif(40, 40));
  AddFile("a.gif", test::SloppyGif());
  AddFile("c.gif", test::SloppyGif(300, 100));
  TestAll();
  QHeaderView* header = List()->header();
  auto clickHeader = [&](int column) {
    QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  };
  auto names = [&] {
    QStringList shown;
    for (int row = 0; row < 3; ++row) shown << Row(row)[0];
    return shown;
  };
  clickHeader(2);
  EXPECT_EQ(names(), (QStringList{"a.gif", "b.gif", "c.gif"})) << "by size, 9 before 10";
  clickHeader(2);
  EXPECT_EQ(names(), (QStringList{"c.gif", "b.gif", "a.gif"}));
  clickHeader(1);
  EXPECT_EQ(names(), (QStringList{"a.gif", "b.gif", "c.gif"}));
  EXPECT_EQ(header->sortIndicatorSection(), 1);
  // Each row still names its own item: a run shows every file's texts in its own row.
  List()->topLevelItem(2)->setText(1, "");
  TestAll();
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(Row(row)[0], QFileInfo(List()->topLevelItem(row)->text(0)).fileName()) << row;
  EXPECT_EQ(header->sectionResizeMode(1), QHeaderView::Interactive);
}

TEST_F(GifRunTest, KeysAddSelectAllTestAllAndAbort) {
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  QString one = AppDir.path() + "/one.gif", two = AppDir.path() + "/two.gif";
  WriteFile(one, test::SloppyGif());
  WriteFile(two, test::SloppyGif());
  FakeUi().FilesToOpen = {one, two};
  QTest::keyClick(Form.get(), Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(List()->topLevelItemCount(), 2);
  Gif->FlatCheckBox4->setChecked(false);
  QTest::keyClick(Form.get(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(List()->topLevelItem(0)->isSelected() && List()->topLevelItem(1)->isSelected());
  FakeUi().WhilePending = [&] { QTest::keyClick(Form.get(), Qt::Key_Escape); };
  QTest::keyClick(Form.get(), Qt::Key_F5);
  EXPECT_EQ(Row(0)[1], Size(test::SloppyGif()));
  EXPECT_EQ(Row(1), (QStringList{"two.gif", "", "", ""})) << "Esc aborted the run";
  ExpectIdle();
}

TEST_F(GifRunTest, SelectingAnItemTestsItAndFillsBothPanes) {
  QString small = AddFile("small.gif", test::SloppyGif());
  AddFile("wide.gif", test::SloppyGif(300, 100));
  bool busyDuringTest = false;
  FakeUi().WhilePending = [&] { busyDuringTest = Gif->GifWorkUnderWay() && Form->FlatSpeedButton8->isEnabled(); };
  ClickRow(1);
  EXPECT_TRUE(busyDuringTest);
  EXPECT_EQ(Form->SB->currentMessage(), AppDir.path() + "/wide.gif");
  EXPECT_EQ(Gif->Image5->geometry(), QRect(5, 42, 138, 46));
  EXPECT_EQ(Gif->Image1->geometry(), Gif->Image5->geometry());
  EXPECT_TRUE(Gif->Image1->Stretch());
  auto* optimized = dynamic_cast<TGIFImage*>(Gif->Image1->Picture().Graphic());
  ASSERT_NE(optimized, nullptr);
  EXPECT_EQ(optimized->Width(), 300);
  EXPECT_EQ(optimized->Header().GlobalTable().EntryCount(), 2) << "the decoded result of the optimizer";
  EXPECT_EQ(Gif->Image5->Picture().Width(), 300);
  EXPECT_EQ(Row(1)[1], Size(test::SloppyGif(300, 100)));
  EXPECT_EQ(Gif->StaticText4->text(), "0 bytes") << "an item test counts no total";
  ExpectIdle();

  ClickRow(0);  // back to a small picture: drawn at its own size in the middle
  EXPECT_EQ(Gif->Image5->Align(), TAlign::alClient);
  EXPECT_EQ(Gif->Image1->geometry(), QRect(1, 1, 146, 129));
  EXPECT_EQ(ReadFile(small), test::SloppyGif());

  Click(Gif->FlatCheckBox4);  // off: the source pane and the status bar only
  FakeUi().MessagePumps = 0;
  ClickRow(1);
  EXPECT_EQ(Gif->Image5->Picture().Width(), 300);
  EXPECT_EQ(Gif->Image1->Picture().Graphic(), nullptr);
  EXPECT_EQ(FakeUi().MessagePumps, 0);
  EXPECT_EQ(List()->topLevelItem(1)->text(4), Row(1)[3]) << "no second test";

  List()->clearSelection();
  EXPECT_EQ(Gif->Image5->Picture().Graphic(), nullptr);
}

TEST_F(GifRunTest, ErrorsTheRunDoesNotCatchReachTheReportAfterItsCleanUp) {
  AddFile("sloppy.gif", test::SloppyGif());
  QString missing = AppDir.path() + "/missing.gif";
  AddPath(missing);
  AddFile("later.gif", test::SloppyGif());
  TestAll();
  ASSERT_EQ(FakeUi().Errors.size(), 1u);
  EXPECT_EQ(FakeUi().Errors[0],
            (std::pair<QString, QString>("Corvane", "Cannot open file " + missing + ": No such file or directory.")));
  EXPECT_EQ(Row(0)[1], Size(test::SloppyGif())) << "results before the error stay";
  EXPECT_EQ(Row(2), (QStringList{"later.gif", "", "", ""}));
  ExpectIdle();

  // The item test of a file that is no GIF: the preview's reader raises, the panes keep
  // what they showed.
  ClickRow(0);
  TGraphic* shown = Gif->Image5->Picture().Graphic();
  ASSERT_NE(shown, nullptr);
  AddFile("notes.gif", {'G', 'I', 'F', '8', '9', 'a'});
  FakeUi().Errors.clear();
  ClickRow(3);
  ASSERT_EQ(FakeUi().Errors.size(), 1u);
  EXPECT_EQ(FakeUi().Errors[0].second.back(), '.');
  EXPECT_EQ(Gif->Image5->Picture().Graphic(), shown);
  ExpectIdle();

  // A pipe listed through the dialog does not block the item test.
  QString pipe = AppDir.path() + "/pipe.gif";
  ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
  AddPath(pipe);
  FakeUi().Errors.clear();
  ClickRow(4);
  List()->clearSelection();
  ASSERT_EQ(FakeUi().Errors.size(), 1u);
  EXPECT_EQ(FakeUi().Errors[0].second, "Cannot open file " + pipe + ".");
}

TEST_F(GifRunTest, NothingChangesTheListWhileARunIsUnderWay) {
  QString first = AddFile("one.gif", test::SloppyGif());
  AddFile("two.gif", test::SloppyGif());
  QString extra = AppDir.path() + "/extra.gif";
  WriteFile(extra, test::SloppyGif());
  List()->topLevelItem(1)->setSelected(true);
  FakeUi().Reset();
  FakeUi().FilesToOpen = {extra};
  int pumps = 0;
  FakeUi().WhilePending = [&] {
    if (++pumps > 1) return;
    Click(Form->FlatSpeedButton1);  // Add
    Click(Form->FlatSpeedButton11);  // Remove
    Gif->RemoveAll1->trigger();
    List()->setFocus();
    QTest::keyClick(List(), Qt::Key_Delete);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(extra)});
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(List()->viewport(), &drop);
    Gif->AddGifPaths({extra});
    ClickRow(0);  // another item
    Click(Form->FlatSpeedButton2);  // another run
    Gif->ProcessGifList(false);
    ChangeTab(TForm1::kGifTab);
    QTabBar* tabs = Form->FlatTabControl1->TabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(TForm1::kJpgTab).center());
  };
  TestAll();
  EXPECT_EQ(pumps, 2) << "no second run started";
  EXPECT_EQ(List()->topLevelItemCount(), 2);
  EXPECT_EQ(Form->ActiveTab(), TForm1::kGifTab);
  EXPECT_TRUE(FakeUi().OpenDialogs.empty());
  EXPECT_FALSE(List()->topLevelItem(0)->isSelected());
  EXPECT_EQ(Row(0)[1], Size(test::SloppyGif()));
  EXPECT_EQ(Row(1)[1], Size(test::SloppyGif()));
  ExpectIdle();

  Click(Form->FlatSpeedButton11);  // unblocked again
  EXPECT_EQ(List()->topLevelItemCount(), 1);
  EXPECT_EQ(List()->topLevelItem(0)->text(0), first);
}

}  // namespace corvane
