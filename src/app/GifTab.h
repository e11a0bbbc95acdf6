#pragma once
// TGifTab: the "GIF Optimizer" tab's page. It holds the file list with its pop-up menu,
// the two preview panes, the options and the backup controls, and runs the list and the
// test of the selected file on the batch model; the main window's toolbar calls its
// FlatSpeedButton handlers. While a run is under way the list cannot change.

#include <QFrame>
#include <filesystem>
#include <utility>
#include <vector>

#include "GifRunOutcome.h"
#include "ScreenCursor.h"
#include "gifbatch/GifBatch.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolButton;

namespace corvane {

class TFileDialogs;
class TGifListView;
class TGraphic;
class TImage;
class TUiServices;
struct TOpenDialogSetup;

class TGifTab : public QFrame {
  Q_OBJECT

 public:
  // Puts its run's progress and summary into statusBar and shows the selected file's path
  // there; appDir is where the program keeps its files (the backup directory's default place).
  TGifTab(QWidget* parent, TUiServices& ui, TFileDialogs& dialogs, QStatusBar& statusBar,
          std::filesystem::path appDir);

  TGifListView* ListView1;
  QMenu* PopupMenu1;
  QAction *Add1, *Remove1, *RemoveAll1;
  QLabel *StaticText1, *StaticText2, *StaticText3, *StaticText4;
  QFrame *FlatPanel_Or_GifView, *FlatPanel_Op_GifView;
  TImage *Image5, *Image1;
  QGroupBox* FlatGroupBox2;
  QCheckBox *FlatCheckBox4, *CheckBoxTwoPass, *CheckBoxDeep, *FlatCheckBox1, *FlatCheckBox3, *FlatCheckBox2;
  QLineEdit* FlatEdit2;
  QToolButton* FlatSpeedButton3;
  // In the status bar while a list run is under way: the files done of those listed.
  QProgressBar* SBProgress;
  // In the status bar after a list run: what it did, in numbers.
  QLabel* SBSummary;

  // What the open dialog offers on this tab: any number of GIF files.
  TOpenDialogSetup OpenDialog() const;
  // Appends the GIF files that these files and folders stand for, as a drop onto the list.
  void AddGifPaths(const QStringList& paths);
  // The run over the whole list: "Test All" measures, "Optimize" also rewrites the files
  // that get smaller.
  void ProcessGifList(bool optimize);
  // A list run or an item test is under way: the list and the controls that could change
  // it are blocked.
  bool GifWorkUnderWay() const { return FGifWorkUnderWay; }
  // The check before Optimize replaces a file, on the run's worker: by default how the
  // new encoding looks different in viewers.
  void SetGifEncodingCheck(TGifEncodingCheck check) { FGifEncodingCheck = std::move(check); }
  // Selects every row, unless a run is under way.
  void SelectAll();

 signals:
  // A run or an item test starts or ends: the window's controls that would change the list
  // or leave the tab follow.
  void WorkUnderWayChanged(bool underWay);
  void AbortEnabledChanged(bool enabled);

 public slots:
  void FlatSpeedButton1Click();   // Add
  void FlatSpeedButton11Click();  // Remove
  void FlatSpeedButton10Click();  // Test All
  void FlatSpeedButton9Click();   // Optimize
  void FlatSpeedButton8Click();   // Abort
  // A click on a list column's header: sorts the list by it, the other way on a second click.
  void ListView1ColumnClick(int column);
  void ListView1SelectItem();
  void RemoveAll1Click();
  void FlatCheckBox1Click();
  void FlatCheckBox2Click();
  void FlatSpeedButton3Click();
  void ListView1DragDrop(const QStringList& paths);
  void Image5MouseMove();
  void Image1MouseMove();
  void Image4Click();
  void Image1Click();

 private:
  void CreateControls();
  void CreateOptions();
  // The run's progress bar and summary, at the status bar's right end.
  void CreateRunStatus();
  void BindHandlers();

  void ArrangeGifPanels(bool wide);
  void AddGifFiles(const QStringList& files);
  void RemoveSelectedGifs();
  // Takes the rows out of the list and the batch, then shows what is still selected.
  void RemoveGifRows(std::vector<int> rows);
  int FirstSelectedGif() const;
  std::filesystem::path DefaultBackupDirectory() const;

  // The list runs and the item test drive the batch model; its results appear in the rows
  // and its view in the Abort button, the screen cursor and the total label.
  class TGifWorkScope;
  TGifRunSeams GifSeams(bool optimize);
  TGifOptions GifOptions() const;
  void ShowGifRow(int index);
  void ClearGifOutcomes();
  void ShowGifOutcome(int index, TGifOutcome outcome, const TGifFileResult& result);
  void ShowGifRunView();
  void SetGifListLocked(bool locked);
  void ShowOptimizedPreview(std::vector<uint8_t> encoding);

  TUiServices& FUi;
  TFileDialogs& FDialogs;
  QStatusBar& FStatusBar;
  std::filesystem::path FAppDir;
  TGifBatch FGif;
  bool FGifWorkUnderWay = false;
  int FSortColumn = -1;
  Qt::SortOrder FSortOrder = Qt::AscendingOrder;
  TGifEncodingCheck FGifEncodingCheck;
  TScreenCursor FScreenCursor;
};

// Gives to the pane layout of from: alignment, stretching, width, height, left and top.
void CopyPreviewLayout(const TImage& from, TImage& to);

// Shows a copy of picture in a GIF preview pane, fitted to its frame panel; stretched
// whatever its size when stretchOption is on.
void ShowFittedPreview(TImage& pane, const TGraphic& picture, bool stretchOption);

// Loads the GIF file and shows it fitted in the pane; a file that cannot be read raises,
// and the pane keeps what it showed.
void ShowGifPreview(TImage& pane, const std::filesystem::path& path, bool stretchOption);

}  // namespace corvane
