#include "JpgTab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <array>
#include <utility>

#include "Application.h"
#include "DroppedFiles.h"
#include "FileFilter.h"
#include "FormControls.h"
#include "FileDialogs.h"
#include "Image.h"
#include "PicShow.h"
#include "UpDown.h"
#include "imageimport/MagickSetup.h"
#include "imageimport/PictureFormats.h"

namespace corvane {

namespace {

const QString kPreviewHint = QStringLiteral("Click it to view a full-sized preview image");

QLabel* ValueLabel(QWidget* parent, const char* name, int left, int top, const char* colour, bool bold) {
  QLabel* label = NewLabel(parent, name, QString(), left, top);
  label->setMinimumWidth(parent->width() - left - 6);
  label->setStyleSheet(QStringLiteral("color: %1;%2").arg(QLatin1String(colour), bold ? " font-weight: bold;" : ""));
  return label;
}

TImage* NewJpgPane(QWidget* parent, const char* name) {
  auto* pane = Placed(new TImage(parent), name, QRect(4, 52, 262, 243));
  pane->SetStretch(true);
  pane->SetCenter(true);
  SetHint(pane, kPreviewHint);
  return pane;
}

QRadioButton* NewRadioButton(QButtonGroup* group, QWidget* parent, const char* name, const QString& text, int top,
                             bool checked) {
  auto* button = Placed(new QRadioButton(text, parent), name, QRect(14, top, 110, 17));
  button->setChecked(checked);
  group->addButton(button);
  return button;
}

// The track bar, the edit and its up-down control: off while a result is made.
std::array<QWidget*, 3> ValueControls(const TJpgTab& tab) { return {tab.Edit2, tab.BUUpDown1, tab.BUTrackBar1}; }

}  // namespace

TJpgTab::TJpgTab(QWidget* parent, TUiServices& ui, TFileDialogs& dialogs, QStatusBar& statusBar,
                 const std::filesystem::path& appDir)
    : QFrame(parent), FUi(ui), FDialogs(dialogs), FStatusBar(statusBar), FJpeg(JpgSeam(), appDir) {
  setObjectName(QStringLiteral("FlatPanel2"));
  RegisterAllPictureFormats();
  CreateSourceGroup();
  CreateResultGroup();
  CreateAdjustGroup();
  BindHandlers();
  // The results are made on a worker, so that the window stays live on big pictures and
  // quick changes of the setting skip the results nobody would see.
  FJpeg.RecompressInBackground();
  FJpeg.SetResultPaneSize(Image3->width(), Image3->height());
}

void TJpgTab::CreateSourceGroup() {
  FlatGroupBox4 = NewGroupBox(this, "FlatGroupBox4", QStringLiteral("Source  image : "), QRect(1, 1, 270, 299));
  Label12 = NewLabel(FlatGroupBox4, "Label12", QStringLiteral("File name : "), 8, 18);
  LBSrcFN = ValueLabel(FlatGroupBox4, "LBSrcFN", 66, 18, "navy", false);
  Label11 = NewLabel(FlatGroupBox4, "Label11", QStringLiteral("Size  : "), 8, 34);
  SrcSize = ValueLabel(FlatGroupBox4, "SrcSize", 66, 34, "navy", true);
  Image2 = NewJpgPane(FlatGroupBox4, "Image2");
}

void TJpgTab::CreateResultGroup() {
  FlatGroupBox5 = NewGroupBox(this, "FlatGroupBox5", QStringLiteral("Optimized  image :"), QRect(274, 1, 270, 299));
  Label15 = NewLabel(FlatGroupBox5, "Label15", QStringLiteral("Current size : "), 8, 18);
  CurrentSize = ValueLabel(FlatGroupBox5, "CurrentSize", 80, 18, "navy", true);
  Label14 = NewLabel(FlatGroupBox5, "Label14", QStringLiteral("Saved  size : "), 8, 34);
  SavedSize = ValueLabel(FlatGroupBox5, "SavedSize", 80, 34, "red", true);
  Image3 = NewJpgPane(FlatGroupBox5, "Image3");
  Image3->setContextMenuPolicy(Qt::CustomContextMenu);
  PopupMenu2 = NewPopupMenu(this, "PopupMenu2");
  FullView1 = NewMenuItem(PopupMenu2, "FullView1", QStringLiteral("Full View"));
  Save1 = NewMenuItem(PopupMenu2, "Save1", QStringLiteral("Save"));
}

void TJpgTab::CreateAdjustGroup() {
  FlatGroupBox3 = NewGroupBox(this, "FlatGroupBox3", QStringLiteral("Adjust image : "), QRect(548, 1, 131, 299));
  Label10 = NewLabel(FlatGroupBox3, "Label10", QStringLiteral("Compress :"), 10, 24);
  Edit2 = Placed(new QLineEdit(QStringLiteral("0"), FlatGroupBox3), "Edit2", QRect(64, 20, 40, 20));
  Edit2->setTextMargins(0, 0, 14, 0);  // room for the up-down control over its right end
  Edit2->setAcceptDrops(false);         // a file dropped onto it opens, as anywhere on the tab
  BUUpDown1 = Placed(new TUpDown(FlatGroupBox3, Edit2, 0, 100), "BUUpDown1", QRect(89, 22, 13, 16));
  Label9 = NewLabel(FlatGroupBox3, "Label9", QStringLiteral("%"), 108, 24);
  BUTrackBar1 = Placed(new QSlider(Qt::Horizontal, FlatGroupBox3), "BUTrackBar1", QRect(6, 50, 119, 30));
  BUTrackBar1->setRange(0, 100);
  BUTrackBar1->setTickInterval(5);
  BUTrackBar1->setTickPosition(QSlider::TicksBelow);
  BUTrackBar1->setValue(0);
  Label7 = NewLabel(FlatGroupBox3, "Label7", QStringLiteral("Best                         Best"), 5, 84);
  Label8 = NewLabel(FlatGroupBox3, "Label8", QStringLiteral("Quality                    Speed"), 5, 98);
  // The runs of spaces put the words at the track bar's ends; this font's spaces are wider.
  for (auto [label, narrower] : {std::pair{Label7, -1}, {Label8, -2}}) {
    QFont font = label->font();
    font.setWordSpacing(narrower);
    label->setFont(font);
    label->adjustSize();
  }

  Label17 = NewLabel(FlatGroupBox3, "Label17", QStringLiteral("Pixel format : "), 8, 124);
  auto* pixelFormat = new QButtonGroup(FlatGroupBox3);
  RadioButton1 = NewRadioButton(pixelFormat, FlatGroupBox3, "RadioButton1", QStringLiteral("  8    bit"), 140, false);
  RadioButton2 = NewRadioButton(pixelFormat, FlatGroupBox3, "RadioButton2", QStringLiteral(" 24   bit "), 158, true);
  Label18 = NewLabel(FlatGroupBox3, "Label18", QStringLiteral("Color space : "), 8, 184);
  auto* colourSpace = new QButtonGroup(FlatGroupBox3);
  RadioButton3 = NewRadioButton(colourSpace, FlatGroupBox3, "RadioButton3", QStringLiteral("  RGB"), 200, true);
  RadioButton4 = NewRadioButton(colourSpace, FlatGroupBox3, "RadioButton4", QStringLiteral("  Grayscale"), 218, false);
  ProgressiveDisplay =
      NewCheckBox(FlatGroupBox3, "ProgressiveDisplay", QStringLiteral("Progressive JPEG"), QRect(8, 248, 118, 17), false);
  IncrementalDisplay = NewCheckBox(FlatGroupBox3, "IncrementalDisplay", QStringLiteral("Incremental Display"),
                                   QRect(8, 268, 118, 17), false);
}

void TJpgTab::BindHandlers() {
  BindHandler(BUTrackBar1, &QSlider::valueChanged, this, &TJpgTab::RxSlider1Change);
  BindHandler(Edit2, &QLineEdit::textChanged, this, &TJpgTab::Edit2Change);
  BindHandler(RadioButton1, &QRadioButton::clicked, this, &TJpgTab::RadioButton1Click);
  BindHandler(RadioButton2, &QRadioButton::clicked, this, &TJpgTab::RadioButton2Click);
  BindHandler(RadioButton3, &QRadioButton::clicked, this, &TJpgTab::RadioButton3Click);
  BindHandler(RadioButton4, &QRadioButton::clicked, this, &TJpgTab::RadioButton4Click);
  // The two boxes start nothing; the next recompression reads them.
  connect(ProgressiveDisplay, &QCheckBox::toggled, this, [this](bool on) { FJpeg.SetProgressiveDisplay(on); });
  connect(IncrementalDisplay, &QCheckBox::toggled, this, [this](bool on) { FJpeg.SetIncrementalDisplay(on); });
  auto* drop = new TFileDropTarget(this);
  connect(drop, &TFileDropTarget::FilesDropped, this,
          [this](const QStringList& paths) { RunHandler([&] { OpenJpgPicture(paths.front()); }); });
  BindHandler(Image2, &TImage::Click, this, &TJpgTab::Image2Click);
  BindHandler(Image3, &TImage::Click, this, &TJpgTab::Image3Click);
  BindHandler(FullView1, &QAction::triggered, this, &TJpgTab::Image3Click);
  BindHandler(Save1, &QAction::triggered, this, &TJpgTab::FlatSpeedButton9Click);
  connect(Image3, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu2->popup(Image3->mapToGlobal(at)); });
}

TOpenDialogSetup TJpgTab::OpenDialog() const { return {QtNameFilters(AllGraphicsOpenFilter()), false, {}}; }

void TJpgTab::TabShown() {
  BUUpDown1->setGeometry(Edit2->x() + 25, Edit2->y() + 2, 13, 16);
  Edit2->resize(40, 20);
  if (!Image2->Picture().Graphic()) SetAdjustControlsEnabled(false);
}

void TJpgTab::SetAdjustControlsEnabled(bool enabled) {
  for (QWidget* control : std::initializer_list<QWidget*>{
           FlatGroupBox3, Label10, Edit2, BUUpDown1, BUTrackBar1, Label8, Label7, Label17, Label18, RadioButton1,
           RadioButton2, RadioButton3, RadioButton4, ProgressiveDisplay, IncrementalDisplay})
    control->setEnabled(enabled);
}

void TJpgTab::Image2Click() { ShowFullView(window(), *Image2, QStringLiteral("Source Image Preview"), false); }

void TJpgTab::Image3Click() { ShowFullView(window(), *Image3, QStringLiteral("Optimized Image Preview"), false); }

TJpegWorkflowSeam TJpgTab::JpgSeam() {
  return {[this](const std::string& text) { FUi.ShowMessage(kApplicationTitle, QString::fromStdString(text)); },
          [](const std::string& message) { CorvaneApp().ReportError(QString::fromStdString(message)); },
          [this] { ShowJpgRecompressing(); }, [this](int pane) { ShowJpgPane(pane); },
          [this] { RunJpgAction([] {}); },
          [this](const std::string& reason) { FStatusBar.showMessage(QString::fromStdString(reason)); }};
}

// Disabling the focused value control sends the focus on; it comes back when the control
// is enabled again, so that keys and typing keep going to it.
void TJpgTab::RunJpgAction(const std::function<void()>& action) {
  QWidget* focused = window()->focusWidget();
  action();
  ShowJpgState();
  if (focused && focused->isEnabled() && window()->focusWidget() != focused) focused->setFocus();
}

// The adjustment controls are disabled until a picture is open; what reaches them before,
// from code, starts nothing.
void TJpgTab::RunJpgControlEvent(const std::function<void()>& action) {
  if (FJpeg.SourceJpeg()) RunJpgAction(action);
}

void TJpgTab::ShowJpgState() {
  const TJpegTabState& s = FJpeg.State();
  LBSrcFN->setText(QString::fromStdString(s.LBSrcFN));
  SrcSize->setText(QString::fromStdString(s.SrcSize));
  CurrentSize->setText(QString::fromStdString(s.CurrentSize));
  SavedSize->setText(QString::fromStdString(s.SavedSize));
  {
    const QSignalBlocker editSignals(Edit2), sliderSignals(BUTrackBar1);
    if (QString edit = QString::fromStdString(s.Edit2); Edit2->text() != edit) Edit2->setText(edit);
    BUTrackBar1->setValue(s.TrackBarPosition);
  }
  (s.RadioButton1 ? RadioButton1 : RadioButton2)->setChecked(true);
  (s.RadioButton4 ? RadioButton4 : RadioButton3)->setChecked(true);
  ProgressiveDisplay->setChecked(s.ProgressiveDisplay);
  IncrementalDisplay->setChecked(s.IncrementalDisplay);
  if (s.Cursor == TCursor::crAppStart)
    window()->setCursor(Qt::BusyCursor);
  else
    window()->unsetCursor();
  SetAdjustControlsEnabled(s.AdjustmentControlsEnabled);
  for (QWidget* control : ValueControls(*this)) control->setEnabled(s.TrackBarEnabled());
  Image3->SetIncrementalDisplay(s.Image3IncrementalDisplay);
}

// The work runs without letting window messages in, so the disabled controls are painted
// at once.
void TJpgTab::ShowJpgRecompressing() {
  ShowJpgState();
  for (QWidget* control : ValueControls(*this)) control->repaint();
}

void TJpgTab::ShowJpgPane(int pane) {
  if (pane == 2) {
    Image2->Picture().SetGraphic(FJpeg.Image2().Graphic());
    return;
  }
  bool incremental = FJpeg.State().Image3IncrementalDisplay;
  Image3->SetIncrementalDisplay(incremental);
  Image3->Picture().SetGraphic(FJpeg.Image3().Graphic());
  // Decoded now rather than when first painted, so that the pane shows the rows as they come.
  if (auto* result = dynamic_cast<TJPEGImage*>(Image3->Picture().Graphic()); result && incremental)
    result->DecodeBitmap();
}

void TJpgTab::OpenJpgPicture(const QString& file) {
  // ImageMagick changes the environment when it first starts, which must not happen while
  // this thread may read it: it starts here rather than on the worker that reads the file.
  try {
    EnsureMagickReady();
  } catch (const std::exception&) {
    // the worker's read fails too, with the same reason, and Open says so
  }
  RunJpgAction([&] { FJpeg.Open(file.toStdString()); });
}

void TJpgTab::FlatSpeedButton1Click() {
  QStringList files = FDialogs.Open(OpenDialog());
  if (!files.isEmpty()) OpenJpgPicture(files.front());
}

void TJpgTab::FlatSpeedButton11Click() {
  RunJpgAction([this] { FJpeg.Clear(); });
}

void TJpgTab::FlatSpeedButton9Click() {
  FJpeg.WaitForResult();  // a picture still being opened is the one the user saves
  if (!FJpeg.CanSave()) return;
  std::optional<TSaveDialogChoice> choice =
      FDialogs.Save(QtNameFilters(kJpegSaveFilter), QString::fromStdString(FJpeg.SaveDialogFileName()));
  if (!choice) return;
  FJpeg.Save(choice->FileName.toStdString(), choice->FilterIndex);
}

void TJpgTab::RxSlider1Change() {
  RunJpgControlEvent([this] { FJpeg.RxSlider1Change(BUTrackBar1->value()); });
}

void TJpgTab::Edit2Change() {
  RunJpgControlEvent([this] { FJpeg.Edit2Change(Edit2->text().toStdString()); });
}

void TJpgTab::RadioButton1Click() {
  RunJpgControlEvent([this] { FJpeg.RadioButtonClick(1); });
}

void TJpgTab::RadioButton2Click() {
  RunJpgControlEvent([this] { FJpeg.RadioButtonClick(2); });
}

void TJpgTab::RadioButton3Click() {
  RunJpgControlEvent([this] { FJpeg.RadioButtonClick(3); });
}

void TJpgTab::RadioButton4Click() {
  RunJpgControlEvent([this] { FJpeg.RadioButtonClick(4); });
}

}  // namespace corvane
