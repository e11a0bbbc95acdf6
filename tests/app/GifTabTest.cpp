#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QToolButton>
#include <QTreeWidget>

#include "FormControls.h"
#include "FormFixture.h"
#include "GifFiles.h"
#include "GifListView.h"
#include "Image.h"

namespace corvane {

namespace {

QStringList Files(int count) {
  QStringList files;
  for (int i = 0; i < count; ++i) files << QStringLiteral("/pictures/set %1/anim%1.gif").arg(i);
  return files;
}

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

}  // namespace

class GifTabTest : public FormTest {
 protected:
  void Add(const QStringList& files) {
    FakeUi().FilesToOpen = files;
    Click(Form->FlatSpeedButton1);
  }
  QTreeWidget* List() { return Gif->ListView1; }
  QStringList Paths() {
    QStringList paths;
    for (int i = 0; i < List()->topLevelItemCount(); ++i) paths << List()->topLevelItem(i)->text(0);
    return paths;
  }
  bool Wide() { return List()->width() == 381; }
};

TEST_F(GifTabTest, AddListsTheChosenFilesWithTheirNames) {
  Add({"/a/one.gif", "/b/two.GIF", "/a/one.gif"});
  ASSERT_EQ(FakeUi().OpenDialogs.size(), 1u);
  EXPECT_TRUE(FakeUi().OpenDialogs[0].MultiSelect);
  EXPECT_EQ(Paths(), (QStringList{"/a/one.gif", "/b/two.GIF", "/a/one.gif"}));
  EXPECT_EQ(List()->topLevelItem(1)->text(1), "two.GIF");
  EXPECT_TRUE(List()->isColumnHidden(0));
  EXPECT_EQ(List()->headerItem()->text(3), "Optimizer sizes");
  EXPECT_EQ(List()->columnWidth(1), 110);
  EXPECT_EQ(List()->columnWidth(4), 80);
  FakeUi().FilesToOpen.clear();  // cancelled
  Click(Form->FlatSpeedButton1);
  EXPECT_EQ(List()->topLevelItemCount(), 3);
}

TEST_F(GifTabTest, RemoveDeletesTheSelectedRows) {
  Add({"/1.gif", "/2.gif", "/3.gif", "/4.gif"});
  Click(Form->FlatSpeedButton11);  // nothing selected
  EXPECT_EQ(List()->topLevelItemCount(), 4);
  List()->topLevelItem(1)->setSelected(true);
  List()->topLevelItem(3)->setSelected(true);
  Click(Form->FlatSpeedButton11);
  EXPECT_EQ(Paths(), (QStringList{"/1.gif", "/3.gif"}));
  List()->topLevelItem(0)->setSelected(true);
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_Delete);
  EXPECT_EQ(Paths(), QStringList{"/3.gif"});
}

TEST_F(GifTabTest, TwentyItemsMakeTheLayoutWide) {
  Add(Files(19));
  EXPECT_FALSE(Wide());
  Add(Files(1));
  EXPECT_TRUE(Wide());
  EXPECT_EQ(Gif->FlatPanel_Or_GifView->geometry(), QRect(390, 21, 140, 131));
  EXPECT_EQ(Gif->FlatPanel_Op_GifView->geometry(), QRect(536, 21, 140, 131));
  EXPECT_EQ(Gif->FlatGroupBox2->geometry(), QRect(390, 155, 285, 129));
  EXPECT_EQ(Gif->StaticText2->x(), 541);
  EXPECT_EQ(Gif->StaticText4->x(), 466);
  EXPECT_EQ(Gif->Image5->size(), QSize(138, 129));  // follows its panel

  List()->topLevelItem(0)->setSelected(true);
  Click(Form->FlatSpeedButton11);
  EXPECT_FALSE(Wide());
  EXPECT_EQ(Gif->StaticText1->x(), 379);
  EXPECT_EQ(Gif->FlatPanel_Op_GifView->geometry(), QRect(528, 21, 148, 131));

  Add(Files(5));
  EXPECT_TRUE(Wide());
  Gif->RemoveAll1->trigger();
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  EXPECT_FALSE(Wide());
}

TEST_F(GifTabTest, DroppedFilesAndFoldersAddTheirGifFiles) {
  QString root = AppDir.path() + "/drop";
  Touch(root + "/b.gif");
  Touch(root + "/a.GIF");
  Touch(root + "/notes.txt");
  Touch(root + "/deeper/c.gif");
  Touch(AppDir.path() + "/single.gif");
  Touch(AppDir.path() + "/photo.png");

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(AppDir.path() + "/single.gif"), QUrl::fromLocalFile(AppDir.path() + "/photo.png"),
                QUrl::fromLocalFile(root)});
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(List()->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(List()->viewport(), &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(Paths(), (QStringList{AppDir.path() + "/single.gif", root + "/a.GIF", root + "/b.gif",
                                  root + "/deeper/c.gif"}));
  EXPECT_EQ(CollectGifFiles({AppDir.path() + "/missing.gif", AppDir.path() + "/missing-folder"}), QStringList{});
}

TEST_F(GifTabTest, BackupBoxEnablesItsControlsAndMakesTheDefaultDirectory) {
  for (QWidget* control : {static_cast<QWidget*>(Gif->FlatCheckBox2), static_cast<QWidget*>(Gif->FlatEdit2),
                           static_cast<QWidget*>(Gif->FlatSpeedButton3)})
    EXPECT_EQ(Hint(control), "Create backup copies of your images.");
  EXPECT_EQ(Gif->FlatCheckBox2->text(), QStringLiteral("Backup directory\uFF1A"));
  QString backup = AppDir.path() + "/backup";
  Click(Gif->FlatCheckBox2);
  EXPECT_TRUE(Gif->FlatEdit2->isEnabled());
  EXPECT_TRUE(Gif->FlatSpeedButton3->isEnabled());
  EXPECT_EQ(Gif->FlatEdit2->text(), backup);
  EXPECT_TRUE(QFileInfo(backup).isDir());

  FakeUi().DirectoryToChoose = "/elsewhere";
  Click(Gif->FlatSpeedButton3);
  ASSERT_EQ(FakeUi().Browses.size(), 1u);
  EXPECT_EQ(FakeUi().Browses[0].Caption, "Backup directory");
  EXPECT_EQ(FakeUi().Browses[0].Title, QStringLiteral("Please select your backup directory\uFF1A"));
  EXPECT_EQ(FakeUi().Browses[0].StartDirectory, backup);
  EXPECT_EQ(Gif->FlatEdit2->text(), "/elsewhere");
  FakeUi().DirectoryToChoose.reset();  // cancelled
  Click(Gif->FlatSpeedButton3);
  EXPECT_EQ(Gif->FlatEdit2->text(), "/elsewhere");

  Click(Gif->FlatCheckBox2);
  EXPECT_FALSE(Gif->FlatEdit2->isEnabled());
  EXPECT_EQ(Gif->FlatEdit2->text(), "/elsewhere");
  Click(Gif->FlatCheckBox2);
  EXPECT_EQ(Gif->FlatEdit2->text(), backup);  // ticking again puts the default back
}

TEST_F(GifTabTest, OptimizeAsksFirstAndNoChangesNothing) {
  Click(Form->FlatSpeedButton9);
  EXPECT_TRUE(FakeUi().Confirmations.empty());  // an empty list asks nothing
  Add({"/x.gif"});
  FakeUi().ConfirmAnswer = false;
  Click(Form->FlatSpeedButton9);
  ASSERT_EQ(FakeUi().Confirmations.size(), 1u);
  EXPECT_EQ(FakeUi().Confirmations[0].first, "Confirm");
  EXPECT_EQ(FakeUi().Confirmations[0].second,
            "Are you sure that you want to Optimize all the GIF files ?\n"
            "If you do not setup backup directory , the files will be modified!");
  EXPECT_EQ(Paths(), QStringList{"/x.gif"});
  EXPECT_FALSE(Form->FlatSpeedButton8->isEnabled());
}

TEST_F(GifTabTest, OptionsAndLabelsStartAsTheFormHasThem) {
  EXPECT_TRUE(Gif->FlatCheckBox4->isChecked());
  EXPECT_EQ(Gif->FlatCheckBox4->text(), "Test selected GIF when click item .");
  for (QCheckBox* box :
       {Gif->CheckBoxTwoPass, Gif->CheckBoxDeep, Gif->FlatCheckBox1, Gif->FlatCheckBox3, Gif->FlatCheckBox2})
    EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
  EXPECT_EQ(Gif->CheckBoxDeep->text(), "Deep optimize (smaller, slower).");
  EXPECT_FALSE(Gif->CheckBoxDeep->geometry().intersects(Gif->CheckBoxTwoPass->geometry()));
  EXPECT_EQ(Gif->StaticText3->text(), "Total saved :  ");
  EXPECT_EQ(Gif->StaticText4->text(), "0 bytes");
  EXPECT_EQ(Gif->StaticText1->text(), "Original  GIF");
  EXPECT_EQ(Gif->Image5->geometry(), QRect(1, 1, 146, 129));
}

}  // namespace corvane
