#pragma once
// TForm1: the borderless main window with its home-made title bar, the toolbar whose
// buttons change meaning with the tab, the switch between the "GIF Optimizer" page
// (TGifTab) and the "JPG Optimizer" page (TJpgTab), and the status bar that repeats the
// hint of the control under the mouse. The toolbar's handlers hand each click to the page
// in view, whose handler of the same name does the work.
//
// Glossary: the controls keep their old names, as members and Qt object names.
//   Title bar  ImageBorderTop: drag to move; Label3: homepage; Label4: help;
//              Label5: minimise; Label6: close
//   Toolbar    FlatSpeedButton1: Add / Open; FlatSpeedButton11: Remove / Clear;
//              FlatSpeedButton2: Test All (handler FlatSpeedButton10Click);
//              FlatSpeedButton9: Optimize / Save; FlatSpeedButton8: Abort;
//              FlatSpeedButton7: Email; FlatSpeedButton6: Homepage (handler Label3Click);
//              FlatSpeedButton5: Help (handler Contents1Click)
//   Window     FlatTabControl1: tab switch; SB: status bar
//   GIF page   FlatPanel1: the TGifTab; ListView1: file list, with PopupMenu1 (Add1,
//              Remove1, RemoveAll1); Image5 / Image1: original / optimized preview (Image4Click
//              and Image1Click open the full view); StaticText4: total saved;
//              FlatCheckBox4: test the selected file; FlatCheckBox1 / FlatCheckBox3: stretch in
//              the preview / the full view; FlatCheckBox2, FlatEdit2, FlatSpeedButton3: backup
//              directory; SBProgress, SBSummary: a run's progress and summary
//   JPG page   FlatPanel2: the TJpgTab; Image2 / Image3: source / result, with PopupMenu2
//              (FullView1, Save1); LBSrcFN, SrcSize, CurrentSize, SavedSize: the file and its
//              sizes; Edit2, BUUpDown1, BUTrackBar1 (handler RxSlider1Change): compression in
//              percent; RadioButton1 / 2: 8 / 24 bit; RadioButton3 / 4: RGB / grayscale;
//              ProgressiveDisplay: progressive JPEG; IncrementalDisplay: result shown row by row

#include <QWidget>
#include <filesystem>

#include "FileDialogs.h"
#include "UiServices.h"

class QFrame;
class QStatusBar;
class QToolButton;

namespace corvane {

class TFlatTabControl;
class TGifTab;
class TJpgTab;
class TLabel;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kGifTab = 0;
  static constexpr int kJpgTab = 1;

  // appDir: where the program keeps its files (the backup directory's default place).
  TForm1(TUiServices& ui, const std::filesystem::path& appDir);

  TLabel* ImageBorderTop;
  TLabel *Label3, *Label4, *Label5, *Label6;
  TLabel *ImageBorderLeft, *ImageBorderRight, *ImageBorderBottom;
  QFrame* ToolBar2;
  QToolButton *FlatSpeedButton1, *FlatSpeedButton11, *FlatSpeedButton2, *FlatSpeedButton9;
  QToolButton *FlatSpeedButton8, *FlatSpeedButton7, *FlatSpeedButton6, *FlatSpeedButton5;
  TFlatTabControl* FlatTabControl1;
  TGifTab* GifTab;
  TJpgTab* JpgTab;
  QStatusBar* SB;

  int ActiveTab() const;
  // What the open dialog offers on the tab in view.
  TOpenDialogSetup OpenDialog() const;

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

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateFrame();
  void CreateToolBar();
  void CreateTabs(const std::filesystem::path& appDir);
  void BindHandlers();
  void CreateShortcuts();

  // Captions, glyphs, hints and enabled states of the toolbar for a tab.
  void SetToolBarForTab(int tab);
  void SlideJpgPanel(int tab);
  // While a GIF run is under way the toolbar cannot change the list nor the tab switch
  // leave the tab.
  void LockForGifWork(bool locked);

  TUiServices& FUi;
  TFileDialogs FDialogs;
};

// The help the Help button opens: help.chm in the program's directory, or the HTML page
// shipped beside the program when there is no such file.
std::filesystem::path HelpFile(const std::filesystem::path& programDirectory);

}  // namespace corvane
