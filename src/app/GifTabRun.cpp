// TGifTab's runs: "Test All", the confirmed "Optimize", Abort and the test of the selected
// item, bound to the batch model. While one is under way the list cannot change.

#include "GifTab.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>

#include "GifListView.h"
#include "GifRunOutcome.h"
#include "Image.h"
#include "UiServices.h"
#include "gifbatch/GifOptimizerSeams.h"
#include "gifbatch/GifRunOnWorker.h"

namespace corvane {

namespace {

// The status bar's progress bar, shown for the length of a list run.
class TRunProgress {
 public:
  TRunProgress(QProgressBar& bar, int count) : FBar(bar) {
    FBar.setRange(0, count);
    FBar.setValue(0);
    FBar.show();
  }
  ~TRunProgress() { FBar.hide(); }
  TRunProgress(const TRunProgress&) = delete;
  TRunProgress& operator=(const TRunProgress&) = delete;

 private:
  QProgressBar& FBar;
};

// The window's event loop runs while a worker works; it runs the calls the worker hands
// over too.
void ServeWindow(const std::atomic<bool>& done) {
  while (!done.load()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

constexpr int kReductionColumn = 4;

}  // namespace

// A list run or an item test: the controls that could change the list are blocked until
// it ends, whichever way it ends.
class TGifTab::TGifWorkScope {
 public:
  explicit TGifWorkScope(TGifTab& tab) : FTab(tab) { FTab.SetGifListLocked(true); }
  ~TGifWorkScope() { FTab.SetGifListLocked(false); }
  TGifWorkScope(const TGifWorkScope&) = delete;
  TGifWorkScope& operator=(const TGifWorkScope&) = delete;

 private:
  TGifTab& FTab;
};

void TGifTab::SetGifListLocked(bool locked) {
  FGifWorkUnderWay = locked;
  ListView1->SetLocked(locked);
  for (QAction* item : {Add1, Remove1, RemoveAll1}) item->setEnabled(!locked);
  emit WorkUnderWayChanged(locked);
}

void TGifTab::FlatSpeedButton10Click() { ProcessGifList(false); }

void TGifTab::FlatSpeedButton8Click() { FGif.Abort(); }

void TGifTab::ProcessGifList(bool optimize) {
  if (FGifWorkUnderWay) return;
  TGifWorkScope work(*this);
  TRunProgress progress(*SBProgress, FGif.List().Count());
  ClearGifOutcomes();
  TGifRunSummary summary(optimize);
  bool aborted = false;
  TGifRunSeams seams = GifSeams(optimize);
  seams.FileEnded = [&](int index, const TGifFileResult& result) {
    TGifOutcome outcome = OutcomeOf(optimize, result);
    ShowGifOutcome(index, outcome, result);
    summary.Add(outcome, result);
    aborted = aborted || outcome == TGifOutcome::Aborted;
    if (!aborted) SBProgress->setValue(index + 1);
  };
  try {
    ProcessGifListOnWorker(FGif, optimize ? TGifMode::Optimize : TGifMode::Test, GifOptions(), seams, ServeWindow);
  } catch (...) {
    SBSummary->setText(summary.Text(FGif.Total(), true));
    throw;
  }
  SBSummary->setText(summary.Text(FGif.Total(), aborted));
}

void TGifTab::ListView1SelectItem() {
  if (FGifWorkUnderWay) return;
  int index = FirstSelectedGif();
  if (index < 0) {
    Image5->Picture().Clear();
    Image1->Picture().Clear();
    return;
  }
  QString path = ListView1->topLevelItem(index)->text(0);
  FStatusBar.showMessage(path);
  ShowGifPreview(*Image5, path.toStdString(), FlatCheckBox1->isChecked());
  Image1->Picture().Clear();
  Image1->repaint();
  if (!FlatCheckBox4->isChecked()) return;
  TGifWorkScope work(*this);
  if (std::optional<std::vector<uint8_t>> chosen =
          TestItemOnWorker(FGif, index, GifOptions(), GifSeams(false), ServeWindow))
    ShowOptimizedPreview(std::move(*chosen));
}

void TGifTab::ShowOptimizedPreview(std::vector<uint8_t> encoding) {
  TMemoryStream buffer(std::move(encoding));
  TGIFImage optimized;
  optimized.LoadFromStream(buffer);
  CopyPreviewLayout(*Image5, *Image1);
  Image1->Picture().SetGraphic(&optimized);
}

TGifRunSeams TGifTab::GifSeams(bool optimize) {
  TGifRunSeams seams;
  seams.Reduce = ReduceForList;
  // A file is replaced only by an encoding that every viewer shows as the original.
  if (optimize) seams.CheckEncoding = FGifEncodingCheck;
  seams.ItemChanged = [this](int index) { ShowGifRow(index); };
  seams.ProcessMessages = [this] { FUi.ProcessMessages(); };
  seams.ViewChanged = [this] { ShowGifRunView(); };
  return seams;
}

TGifOptions TGifTab::GifOptions() const {
  return {.TwoPass = CheckBoxTwoPass->isChecked(),
          .Deep = CheckBoxDeep->isChecked(),
          .Backup = FlatCheckBox2->isChecked(),
          .BackupDirectory = FlatEdit2->text().toStdString()};
}

void TGifTab::ShowGifRow(int index) {
  QTreeWidgetItem* row = ListView1->topLevelItem(index);
  const std::vector<std::string>& texts = FGif.List().Item(index).SubItems;
  for (int column = 1; column < ListView1->columnCount(); ++column) {
    size_t text = size_t(column - 1);
    // An error message is longer than its column: the tooltip shows it whole.
    QString shown = text < texts.size() ? QString::fromStdString(texts[text]) : QString();
    row->setText(column, shown);
    row->setToolTip(column, shown);
  }
}

void TGifTab::ClearGifOutcomes() {
  for (int index = 0; index < ListView1->topLevelItemCount(); ++index) {
    QTreeWidgetItem* row = ListView1->topLevelItem(index);
    row->setIcon(kReductionColumn, QIcon());
    for (int column = 1; column < ListView1->columnCount(); ++column) {
      row->setToolTip(column, row->text(column));
      row->setForeground(column, QBrush());
    }
  }
  SBSummary->clear();
}

// The reduction gets a mark, the row the outcome as its tooltip; a file that kept its
// bytes although smaller, or failed, is coloured.
void TGifTab::ShowGifOutcome(int index, TGifOutcome outcome, const TGifFileResult& result) {
  QTreeWidgetItem* row = ListView1->topLevelItem(index);
  QString text = OutcomeText(outcome, result, FGif.List().Item(index));
  row->setIcon(kReductionColumn, OutcomeIcon(outcome));
  QBrush colour = outcome == TGifOutcome::NotReplaced ? QBrush(QColor(0xB0, 0x50, 0x00))
                  : outcome == TGifOutcome::Failed    ? QBrush(QColor(0xC0, 0x00, 0x00))
                                                      : QBrush();
  for (int column = 1; column < ListView1->columnCount(); ++column) {
    row->setToolTip(column, text);
    row->setForeground(column, colour);
  }
}

void TGifTab::ShowGifRunView() {
  const TGifRunView& view = FGif.View();
  emit AbortEnabledChanged(view.AbortEnabled);
  FScreenCursor.Show(view.Cursor);
  StaticText4->setText(QString::fromStdString(view.TotalLabel));
}

}  // namespace corvane
