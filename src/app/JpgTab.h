#pragma once
// TJpgTab: the "JPG Optimizer" tab's page, which slides in over the GIF tab. It holds the
// source, result and adjustment groups and binds them to the tab's workflow model; the main
// window's toolbar calls its FlatSpeedButton handlers.

#include <QFrame>
#include <filesystem>
#include <functional>

#include "jpegopt/JpegWorkflow.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QSlider;
class QStatusBar;

namespace corvane {

class TFileDialogs;
class TImage;
class TUiServices;
class TUpDown;
struct TOpenDialogSetup;

class TJpgTab : public QFrame {
  Q_OBJECT

 public:
  // Shows the workflow's reasons in statusBar; appDir is where the program keeps its files.
  TJpgTab(QWidget* parent, TUiServices& ui, TFileDialogs& dialogs, QStatusBar& statusBar,
          const std::filesystem::path& appDir);

  QGroupBox *FlatGroupBox4, *FlatGroupBox5, *FlatGroupBox3;
  QLabel *Label12, *LBSrcFN, *Label11, *SrcSize;
  QLabel *Label15, *CurrentSize, *Label14, *SavedSize;
  TImage *Image2, *Image3;
  QMenu* PopupMenu2;
  QAction *FullView1, *Save1;
  QLabel *Label10, *Label9, *Label7, *Label8, *Label17, *Label18;
  QLineEdit* Edit2;
  TUpDown* BUUpDown1;
  QSlider* BUTrackBar1;
  QRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4;
  QCheckBox *ProgressiveDisplay, *IncrementalDisplay;

  // What the open dialog offers on this tab: one picture of any format the program reads.
  TOpenDialogSetup OpenDialog() const;
  // Opens the picture, as Open does with the file chosen.
  void OpenJpgPicture(const QString& file);
  // Waits until the tab shows the picture being opened and the result of the setting in
  // force.
  void WaitForJpgResult() { FJpeg.WaitForResult(); }
  // The tab is opening a picture or making a result.
  bool JpgWorkUnderWay() const { return FJpeg.Recompressing(); }
  // Puts the up-down control over the edit's right end and disables the adjustment
  // controls while no picture is open; the tab has just come into view.
  void TabShown();

 public slots:
  void FlatSpeedButton1Click();  // Open
  void FlatSpeedButton11Click();  // Clear
  void FlatSpeedButton9Click();  // Save
  void Image2Click();
  void Image3Click();
  void RxSlider1Change();
  void Edit2Change();
  void RadioButton1Click();
  void RadioButton2Click();
  void RadioButton3Click();
  void RadioButton4Click();

 private:
  void CreateSourceGroup();
  void CreateResultGroup();
  void CreateAdjustGroup();
  void BindHandlers();

  // The workflow drives the controls: each action runs on the model, then the controls
  // show the model's state, and the focus stays where it was.
  TJpegWorkflowSeam JpgSeam();
  void RunJpgAction(const std::function<void()>& action);
  void RunJpgControlEvent(const std::function<void()>& action);
  void ShowJpgState();
  void ShowJpgPane(int pane);
  void ShowJpgRecompressing();
  void SetAdjustControlsEnabled(bool enabled);

  TUiServices& FUi;
  TFileDialogs& FDialogs;
  QStatusBar& FStatusBar;
  TJpegWorkflow FJpeg;
};

}  // namespace corvane
