#pragma once
// TForm1: the borderless main window with its home-made title bar, the toolbar whose
// buttons change meaning with the tab, the "GIF Optimizer" and "JPG Optimizer" tabs and
// the status bar that repeats the hint of the control under the mouse.

#include <QWidget>
#include <filesystem>
#include <vector>

#include "FileDialogs.h"
#include "GifRunOutcome.h"
#include "ScreenCursor.h"
#include "UiServices.h"
#include "gifbatch/GifBatch.h"

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolButton;

namespace corvane {

class TFlatTabControl;
class TGraphic;
class TGifListView;
class TImage;
class TJpgTab;
class TLabel;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kGifTab = 0;
  static constexpr int kJpgTab = 1;

  // appDir: where the program keeps its files (the backup directory's default place).
  TForm1(TUiServices& ui, std::filesystem::path appDir);

  // Window frame.
  TLabel* ImageBorderTop;
  TLabel *Label3, *Label4, *Label5, *Label6;
  TLabel *ImageBorderLeft, *ImageBorderRight, *ImageBorderBottom;
  QFrame* ToolBar2;
  QToolButton *FlatSpeedButton1, *FlatSpeedButton11, *FlatSpeedButton2, *FlatSpeedButton9;
  QToolButton *FlatSpeedButton8, *FlatSpeedButton7, *FlatSpeedButton6, *FlatSpeedButton5;
  TFlatTabControl* FlatTabControl1;
  QFrame* FlatPanel1;
  QStatusBar* SB;
  // In the status bar while a list run is under way: the files done of those listed.
  QProgressBar* SBProgress;
  // In the status bar after a list run: what it did, in numbers.
  QLabel* SBSummary;

  // GIF tab.
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

  // JPG tab.
  TJpgTab* JpgTab;

  int ActiveTab() const;
  // What the open dialog offers on the tab in view.
  TOpenDialogSetup OpenDialog() const;
  // Appends the GIF files that these files and folders stand for, as a drop onto the list.
  void AddGifPaths(const QStringList& paths);
  // The run over the whole GIF list: "Test All" measures, "Optimize" also rewrites
  // the files that get smaller.
  void ProcessGifList(bool optimize);
  // A list run or an item test is under way: the list and the controls that could change
  // it are blocked.
  bool GifWorkUnderWay() const { return FGifWorkUnderWay; }
  // The check before Optimize replaces a file, on the run's worker: by default how the
  // new encoding looks different in viewers.
  void SetGifEncodingCheck(TGifEncodingCheck check) { FGifEncodingCheck = std::move(check); }

 public slots:
  void ShowStatus(const QString& text);
  void ApplicationHint(const QString& hint);
  void ImageBorderTopMouseDown();
  void Label3Click();
  void Label4Click();
  void Label5Click();
  void Label6Click();
  void Contents1Click();
  void FlatSpeedButton7Click();
  void FlatTabControl1TabChanged();
  void FlatSpeedButton1Click();
  void FlatSpeedButton11Click();
  void FlatSpeedButton9Click();
  void FlatSpeedButton10Click();
  void FlatSpeedButton8Click();
  void ShortcutOpen();
  void ShortcutSelectAll();
  void ShortcutTestAll();
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

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateFrame();
  void CreateToolBar();
  void CreateGifTab();
  void CreateGifOptions();
  void CreateTabs();
  void FormCreate();
  void BindHandlers();
  void CreateShortcuts();
  void BindGifHandlers();

  // Captions, glyphs, hints and enabled states of the toolbar for a tab.
  void SetToolBarForTab(int tab);
  void SlideJpgPanel(int tab);
  void ArrangeGifPanels(bool wide);
  void AddGifFiles(const QStringList& files);
  void RemoveSelectedGifs();
  // Takes the rows out of the list and the batch, then shows what is still selected.
  void RemoveGifRows(std::vector<int> rows);
  int FirstSelectedGif() const;

  // The GIF list runs and the item test drive the batch model; its results appear in the
  // rows and its view in the Abort button, the screen cursor and the total label.
  class TGifWorkScope;
  TGifRunSeams GifSeams(bool optimize);
  TGifOptions GifOptions() const;
  void ShowGifRow(int index);
  void ClearGifOutcomes();
  void ShowGifOutcome(int index, TGifOutcome outcome, const TGifFileResult& result);
  void ShowGifRunView();
  void SetGifListLocked(bool locked);
  void ShowOptimizedPreview(std::vector<uint8_t> encoding);
  std::filesystem::path DefaultBackupDirectory() const;

  TUiServices& FUi;
  std::filesystem::path FAppDir;
  TFileDialogs FDialogs;
  TGifBatch FGif;
  bool FGifWorkUnderWay = false;
  int FSortColumn = -1;
  Qt::SortOrder FSortOrder = Qt::AscendingOrder;
  TGifEncodingCheck FGifEncodingCheck;
  TScreenCursor FScreenCursor;
};

// The help the Help button opens: help.chm in the program's directory, or the HTML page
// shipped beside the program when there is no such file.
std::filesystem::path HelpFile(const std::filesystem::path& programDirectory);

// Gives to the pane layout of from: alignment, stretching, width, height, left and top.
void CopyPreviewLayout(const TImage& from, TImage& to);

// Shows a copy of picture in a GIF preview pane, fitted to its frame panel; stretched
// whatever its size when stretchOption is on.
void ShowFittedPreview(TImage& pane, const TGraphic& picture, bool stretchOption);

// Loads the GIF file and shows it fitted in the pane; a file that cannot be read raises,
// and the pane keeps what it showed.
void ShowGifPreview(TImage& pane, const std::filesystem::path& path, bool stretchOption);

}  // namespace corvane
