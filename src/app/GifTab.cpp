#include "GifTab.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>
#include <algorithm>
#include <numeric>
#include <tuple>

#include "Application.h"
#include "Artwork.h"
#include "FileDialogs.h"
#include "FileFilter.h"
#include "FormControls.h"
#include "GifFiles.h"
#include "GifListView.h"
#include "Image.h"
#include "Label.h"
#include "PicShow.h"
#include "PreviewLayout.h"
#include "UiServices.h"
#include "gif/GIFImage.h"
#include "gifbatch/GifOptimizerSeams.h"
#include "platform/Exceptions.h"
#include "platform/FileUtils.h"

namespace corvane {

namespace {

const QString kPreviewHint = QStringLiteral("Click it to view a full-sized preview image");
const QString kBackupHint = QStringLiteral("Create backup copies of your images.");
const QString kPreviewBorder = QStringLiteral("#3A6EA5");

struct TColumn {
  const char* Caption;
  int Width;
};

constexpr TColumn kColumns[] = {{"Path", 0}, {"Filename", 110}, {"Size", 80}, {"Optimizer sizes", 90}, {"Reduction", 80}};

void SetUpColumns(TGifListView* list) {
  QStringList captions;
  for (const TColumn& column : kColumns) captions << QLatin1String(column.Caption);
  list->setHeaderLabels(captions);
  QHeaderView* header = list->header();
  // Clicks on a header sort the list by its column; its edges resize the columns.
  header->setSectionsClickable(true);
  header->setSectionsMovable(false);
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(0);
  for (int i = 0; i < int(std::size(kColumns)); ++i) {
    header->setSectionResizeMode(i, i == 0 ? QHeaderView::Fixed : QHeaderView::Interactive);
    list->setColumnWidth(i, kColumns[i].Width);
    if (i > 0) list->headerItem()->setTextAlignment(i, Qt::AlignCenter);
  }
  list->setColumnHidden(0, true);
}

TGifListView* NewListView(QWidget* parent) {
  auto* list = Placed(new TGifListView(parent), "ListView1", QRect(5, 6, 364, 290));
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setAllColumnsShowFocus(true);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  // The selection stays visible when the list loses the focus.
  QPalette colours = list->palette();
  colours.setColor(QPalette::Base, Qt::white);
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  list->setPalette(colours);
  list->setStyleSheet(QStringLiteral(
      "QTreeView::item { border-right: 1px solid #D4D4D4; border-bottom: 1px solid #D4D4D4; }"
      "QTreeView::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));
  SetUpColumns(list);
  return list;
}

// What a row is sorted by: the number its text starts with in the columns of sizes and
// percentages, so that 9 comes before 10, else the text; rows without a number go last.
struct TSortKey {
  bool Missing;
  double Number;
  QString Text;
};

TSortKey SortKey(const QString& text, bool numeric) {
  if (!numeric) return {text.isEmpty(), 0, text};
  QString digits = text;
  digits.remove('%');
  bool number = false;
  double value = digits.toDouble(&number);
  return {!number, value, text};
}

TImage* NewGifPane(QFrame* panel, const char* name) {
  auto* pane = new TImage(panel);
  pane->setObjectName(QLatin1String(name));
  pane->SetCenter(true);
  pane->SetAlign(TAlign::alClient);
  SetHint(pane, kPreviewHint);
  return pane;
}

}  // namespace

TGifTab::TGifTab(QWidget* parent, TUiServices& ui, TFileDialogs& dialogs, QStatusBar& statusBar,
                 std::filesystem::path appDir)
    : QFrame(parent),
      FUi(ui),
      FDialogs(dialogs),
      FStatusBar(statusBar),
      FAppDir(std::move(appDir)),
      FGifEncodingCheck(VisibleDifference) {
  setObjectName(QStringLiteral("FlatPanel1"));
  CreateControls();
  CreateRunStatus();
  FlatSpeedButton3->setEnabled(false);
  FlatEdit2->setEnabled(false);
  BindHandlers();
}

void TGifTab::CreateControls() {
  ListView1 = NewListView(this);
  PopupMenu1 = NewPopupMenu(this, "PopupMenu1");
  Add1 = NewMenuItem(PopupMenu1, "Add1", QStringLiteral("Add"));
  Remove1 = NewMenuItem(PopupMenu1, "Remove1", QStringLiteral("Remove"));
  RemoveAll1 = NewMenuItem(PopupMenu1, "RemoveAll1", QStringLiteral("Remove All"));

  StaticText1 = NewLabel(this, "StaticText1", QStringLiteral("Original  GIF"), 379, 4);
  StaticText2 = NewLabel(this, "StaticText2", QStringLiteral("Optimized  GIF"), 533, 4);
  FlatPanel_Or_GifView = NewPanel(this, "FlatPanel_Or_GifView", QRect(374, 21, 148, 131), kPreviewBorder);
  FlatPanel_Op_GifView = NewPanel(this, "FlatPanel_Op_GifView", QRect(528, 21, 148, 131), kPreviewBorder);
  Image5 = NewGifPane(FlatPanel_Or_GifView, "Image5");
  Image5->SetIncrementalDisplay(true);
  Image1 = NewGifPane(FlatPanel_Op_GifView, "Image1");
  CreateOptions();
  StaticText3 = NewLabel(this, "StaticText3", QStringLiteral("Total saved :  "), 379, 285);
  StaticText4 = NewLabel(this, "StaticText4", QStringLiteral("0 bytes"), 450, 285);
  StaticText4->setStyleSheet(QStringLiteral("color: red;"));
  StaticText4->setMinimumWidth(200);
}

void TGifTab::CreateOptions() {
  FlatGroupBox2 = NewGroupBox(this, "FlatGroupBox2", QStringLiteral("Options"), QRect(374, 155, 301, 129));
  FlatCheckBox4 = NewCheckBox(FlatGroupBox2, "FlatCheckBox4", QStringLiteral("Test selected GIF when click item ."),
                              QRect(10, 18, 270, 17), true);
  CheckBoxTwoPass =
      NewCheckBox(FlatGroupBox2, "CheckBoxTwoPass", QStringLiteral("Two pass optimize."), QRect(10, 38, 116, 17), false);
  CheckBoxDeep = NewCheckBox(FlatGroupBox2, "CheckBoxDeep", QStringLiteral("Deep optimize (smaller, slower)."),
                             QRect(126, 38, 173, 17), false);
  FlatCheckBox1 = NewCheckBox(FlatGroupBox2, "FlatCheckBox1", QStringLiteral("Stretch at preview area."),
                              QRect(10, 58, 270, 17), false);
  FlatCheckBox3 = NewCheckBox(FlatGroupBox2, "FlatCheckBox3", QStringLiteral("Stretch at full view window."),
                              QRect(10, 78, 270, 17), false);
  FlatCheckBox2 = NewCheckBox(FlatGroupBox2, "FlatCheckBox2", QStringLiteral("Backup directory\uFF1A"),
                              QRect(10, 101, 112, 17), false);
  FlatEdit2 = Placed(new QLineEdit(FlatGroupBox2), "FlatEdit2", QRect(124, 99, 134, 20));
  FlatSpeedButton3 = Placed(new QToolButton(FlatGroupBox2), "FlatSpeedButton3", QRect(261, 99, 20, 20));
  FlatSpeedButton3->setIcon(ToolbarGlyph(TGlyph::Browse));
  FlatSpeedButton3->setAutoRaise(true);
  for (QWidget* control : {static_cast<QWidget*>(FlatCheckBox2), static_cast<QWidget*>(FlatEdit2),
                           static_cast<QWidget*>(FlatSpeedButton3)})
    SetHint(control, kBackupHint);
}

void TGifTab::CreateRunStatus() {
  SBProgress = new QProgressBar(&FStatusBar);
  SBProgress->setObjectName(QStringLiteral("SBProgress"));
  SBProgress->setFixedSize(160, 14);
  SBProgress->setFormat(QStringLiteral("%v of %m"));
  FStatusBar.addPermanentWidget(SBProgress);
  SBProgress->hide();
  SBSummary = new QLabel(&FStatusBar);
  SBSummary->setObjectName(QStringLiteral("SBSummary"));
  FStatusBar.addPermanentWidget(SBSummary);
}

void TGifTab::BindHandlers() {
  BindHandler(Add1, &QAction::triggered, this, &TGifTab::FlatSpeedButton1Click);
  BindHandler(Remove1, &QAction::triggered, this, &TGifTab::FlatSpeedButton11Click);
  BindHandler(RemoveAll1, &QAction::triggered, this, &TGifTab::RemoveAll1Click);
  connect(ListView1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(at)); });
  connect(ListView1, &TGifListView::FilesDropped, this,
          [this](const QStringList& paths) { RunHandler([&] { ListView1DragDrop(paths); }); });
  BindHandler(ListView1, &TGifListView::DeletePressed, this, &TGifTab::RemoveSelectedGifs);
  BindHandler(ListView1, &QTreeWidget::itemSelectionChanged, this, &TGifTab::ListView1SelectItem);
  connect(ListView1->header(), &QHeaderView::sectionClicked, this,
          [this](int column) { RunHandler([&] { ListView1ColumnClick(column); }); });
  BindHandler(FlatCheckBox1, &QCheckBox::toggled, this, &TGifTab::FlatCheckBox1Click);
  BindHandler(FlatCheckBox2, &QCheckBox::toggled, this, &TGifTab::FlatCheckBox2Click);
  BindHandler(FlatSpeedButton3, &QToolButton::clicked, this, &TGifTab::FlatSpeedButton3Click);
  BindHandler(Image5, &TImage::MouseMove, this, &TGifTab::Image5MouseMove);
  BindHandler(Image1, &TImage::MouseMove, this, &TGifTab::Image1MouseMove);
  BindHandler(Image5, &TImage::Click, this, &TGifTab::Image4Click);
  BindHandler(Image1, &TImage::Click, this, &TGifTab::Image1Click);
}

TOpenDialogSetup TGifTab::OpenDialog() const { return {QtNameFilters(kGifOpenFilter), true, {}}; }

void TGifTab::FlatSpeedButton1Click() {
  if (!FGifWorkUnderWay) AddGifFiles(FDialogs.Open(OpenDialog()));
}

void TGifTab::FlatSpeedButton11Click() { RemoveSelectedGifs(); }

void TGifTab::AddGifFiles(const QStringList& files) {
  if (FGifWorkUnderWay) return;
  for (const QString& file : files) {
    FGif.List().Add(file.toStdString());
    auto* row = new QTreeWidgetItem(ListView1);
    row->setText(0, file);
    for (int column = 1; column < ListView1->columnCount(); ++column) row->setTextAlignment(column, Qt::AlignCenter);
    ShowGifRow(FGif.List().Count() - 1);
  }
  ArrangeGifPanels(ListView1->topLevelItemCount() > 19);
}

void TGifTab::AddGifPaths(const QStringList& paths) { AddGifFiles(CollectGifFiles(paths)); }

void TGifTab::ListView1DragDrop(const QStringList& paths) { AddGifPaths(paths); }

void TGifTab::RemoveSelectedGifs() {
  std::vector<int> rows;
  for (int row = 0; row < ListView1->topLevelItemCount(); ++row)
    if (ListView1->topLevelItem(row)->isSelected()) rows.push_back(row);
  if (!rows.empty()) RemoveGifRows(std::move(rows));
}

void TGifTab::RemoveAll1Click() {
  if (ListView1->topLevelItemCount() == 0) return;
  std::vector<int> rows(size_t(ListView1->topLevelItemCount()));
  std::iota(rows.begin(), rows.end(), 0);
  RemoveGifRows(std::move(rows));
}

// The selection handler runs once the rows are gone rather than for every row on its way
// out, which would test each selected file about to be removed.
void TGifTab::RemoveGifRows(std::vector<int> rows) {
  if (FGifWorkUnderWay) return;
  {
    QSignalBlocker quiet(ListView1);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
      FGif.List().Delete(*row);
      delete ListView1->takeTopLevelItem(*row);
    }
  }
  ListView1->viewport()->update();
  ArrangeGifPanels(ListView1->topLevelItemCount() > 19);
  ListView1SelectItem();
}

// The rows and the batch's items are put in the same new order, so that a row's index
// still names its item.
void TGifTab::ListView1ColumnClick(int column) {
  if (FGifWorkUnderWay || column <= 0) return;
  FSortOrder = column == FSortColumn && FSortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
  FSortColumn = column;
  int count = ListView1->topLevelItemCount();
  std::vector<TSortKey> keys;
  for (int row = 0; row < count; ++row) keys.push_back(SortKey(ListView1->topLevelItem(row)->text(column), column > 1));
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  bool descending = FSortOrder == Qt::DescendingOrder;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const TSortKey &x = keys[size_t(a)], &y = keys[size_t(b)];
    if (x.Missing != y.Missing) return y.Missing;
    int compared = x.Number < y.Number   ? -1
                   : x.Number > y.Number ? 1
                                         : x.Text.compare(y.Text, Qt::CaseInsensitive);
    return descending ? compared > 0 : compared < 0;
  });
  std::vector<TGifListItem> items;
  std::vector<QTreeWidgetItem*> rows;
  std::vector<bool> selected;
  for (int row = 0; row < count; ++row) {
    items.push_back(FGif.List().Item(row));
    rows.push_back(ListView1->topLevelItem(row));
    selected.push_back(rows.back()->isSelected());
  }
  {
    QSignalBlocker quiet(ListView1);
    while (ListView1->topLevelItemCount() > 0) ListView1->takeTopLevelItem(0);
    FGif.List().Clear();
    for (int index : order) {
      FGif.List().Add(items[size_t(index)].Caption) = std::move(items[size_t(index)]);
      ListView1->addTopLevelItem(rows[size_t(index)]);
      rows[size_t(index)]->setSelected(selected[size_t(index)]);
    }
  }
  ListView1->header()->setSortIndicatorShown(true);
  ListView1->header()->setSortIndicator(column, FSortOrder);
}

void TGifTab::SelectAll() {
  if (!FGifWorkUnderWay) ListView1->selectAll();
}

int TGifTab::FirstSelectedGif() const {
  for (int row = 0; row < ListView1->topLevelItemCount(); ++row)
    if (ListView1->topLevelItem(row)->isSelected()) return row;
  return -1;
}

void TGifTab::ArrangeGifPanels(bool wide) {
  auto place = [](QWidget* control, int left, int width) {
    control->setGeometry(left, control->y(), width, control->height());
  };
  place(ListView1, 5, wide ? 381 : 364);
  place(FlatPanel_Or_GifView, wide ? 390 : 374, wide ? 140 : 148);
  place(FlatPanel_Op_GifView, wide ? 536 : 528, wide ? 140 : 148);
  place(FlatGroupBox2, wide ? 390 : 374, wide ? 285 : 301);
  for (auto [label, normalLeft, wideLeft] :
       {std::tuple{StaticText1, 379, 395}, {StaticText2, 533, 541}, {StaticText3, 379, 395}, {StaticText4, 450, 466}})
    label->move(wide ? wideLeft : normalLeft, label->y());
}

std::filesystem::path TGifTab::DefaultBackupDirectory() const { return FAppDir / "backup"; }

void TGifTab::FlatCheckBox1Click() { Image5->SetStretch(FlatCheckBox1->isChecked()); }

void TGifTab::FlatCheckBox2Click() {
  bool ticked = FlatCheckBox2->isChecked();
  FlatSpeedButton3->setEnabled(ticked);
  FlatEdit2->setEnabled(ticked);
  if (!ticked || FAppDir.empty()) return;
  CreateDirectories(DefaultBackupDirectory());  // a failure shows when a backup is written
  FlatEdit2->setText(QString::fromStdString(DefaultBackupDirectory().string()));
}

void TGifTab::FlatSpeedButton3Click() {
  QString start = FlatEdit2->text().isEmpty() ? QString::fromStdString(DefaultBackupDirectory().string())
                                              : FlatEdit2->text();
  std::optional<QString> chosen = FUi.BrowseDirectory(
      {QStringLiteral("Backup directory"), QStringLiteral("Please select your backup directory\uFF1A"), start});
  if (chosen) FlatEdit2->setText(*chosen);
}

void TGifTab::FlatSpeedButton9Click() {
  if (FGifWorkUnderWay || ListView1->topLevelItemCount() == 0) return;
  if (FUi.Confirm(QStringLiteral("Confirm"),
                  QStringLiteral("Are you sure that you want to Optimize all the GIF files ?\n"
                                 "If you do not setup backup directory , the files will be modified!")))
    ProcessGifList(true);
}

void TGifTab::Image5MouseMove() {
  Image5->setCursor(Image5->Picture().Width() > 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TGifTab::Image1MouseMove() {
  Image1->setCursor(Image1->Picture().Width() > 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TGifTab::Image4Click() {
  ShowFullView(window(), *Image5, QStringLiteral("Source GIF Preview"), FlatCheckBox3->isChecked());
}

void TGifTab::Image1Click() {
  ShowFullView(window(), *Image1, QStringLiteral("Optimized GIF Preview"), FlatCheckBox3->isChecked());
}

void CopyPreviewLayout(const TImage& from, TImage& to) {
  to.SetAlign(from.Align());
  to.SetStretch(from.Stretch());
  to.setGeometry(from.geometry());
}

void ShowGifPreview(TImage& pane, const std::filesystem::path& path, bool stretchOption) {
  // A listed pipe or device would block the window or never end; the list run refuses
  // them too.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) throw EFOpenError(path.string());
  TGIFImage gif;
  gif.LoadFromFile(path);
  ShowFittedPreview(pane, gif, stretchOption);
}

void ShowFittedPreview(TImage& pane, const TGraphic& picture, bool stretchOption) {
  pane.SetAlign(TAlign::alClient);
  TPreviewLayout layout = FitGifPreview(QSize(picture.Width(), picture.Height()), pane.size(),
                                        pane.parentWidget()->size(), stretchOption);
  if (!layout.ClientAligned) {
    pane.SetAlign(TAlign::alNone);
    pane.setGeometry(layout.Bounds);
  }
  pane.SetStretch(layout.Stretch);
  pane.Picture().Clear();
  pane.Picture().SetGraphic(&picture);
}

}  // namespace corvane
