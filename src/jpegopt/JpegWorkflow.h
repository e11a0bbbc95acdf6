#pragma once
// TJpegWorkflow: the JPG Optimizer tab without its window. It opens a picture, rebuilds
// the JPEG result through a temporary file on every change of the controls, and saves
// it. The GUI binds its widgets to State() and forwards the widgets' events; the file
// dialogs are the GUI's, which passes on what the user chose.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "JPEGImage.h"
#include "JpegRecompression.h"
#include "JpegSource.h"
#include "platform/Cursor.h"
#include "platform/PictureRegistry.h"

namespace corvane {

// What the model's user shows: the GUI message boxes, the tests a record.
struct TJpegWorkflowSeam {
  // A plain message box captioned with the application title.
  std::function<void(const std::string& text)> ShowMessage;
  // The application's error report, given the error's message (see ErrorReportText).
  std::function<void(const std::string& message)> ReportError;
  // A recompression starts: the value controls are off and the cursor is crAppStart
  // until it ends, which a window shows while the work runs.
  std::function<void()> RecompressionStarted{};
  // A pane was given another picture or emptied: 2 the source pane, 3 the result pane.
  std::function<void(int pane)> PaneChanged{};
  // A result made in the background arrived or failed: the controls show State() again.
  std::function<void()> StateChanged{};
  // A picture could not be opened: the reader's reason, told before the message box.
  std::function<void(const std::string& reason)> OpenRefused{};
};

// The controls of the tab as the user sees them.
struct TJpegTabState {
  std::string LBSrcFN;      // the opened file's name
  std::string SrcSize;      // the file's size
  std::string CurrentSize;  // the result's size
  std::string SavedSize;    // the bytes saved, or "0"
  std::string Edit2 = "0";  // the compression value's edit
  int TrackBarPosition = 0;
  // Pixel format: RadioButton1 "8 bit", RadioButton2 "24 bit"; colour space:
  // RadioButton3 "RGB", RadioButton4 "Grayscale".
  bool RadioButton1 = false;
  bool RadioButton2 = true;
  bool RadioButton3 = true;
  bool RadioButton4 = false;
  bool ProgressiveDisplay = false;
  bool IncrementalDisplay = false;
  // The sixteen adjustment controls: the group box, labels, edit, up-down, track bar,
  // radio buttons and check boxes.
  bool AdjustmentControlsEnabled = false;
  // The track bar, the edit and the up-down control besides: off while a result is made,
  // and after a failed one until one succeeds.
  bool ValueControlsEnabled = false;
  TCursor Cursor = TCursor::crDefault;
  // Applies to the result pane's next load.
  bool Image3IncrementalDisplay = false;

  bool TrackBarEnabled() const { return AdjustmentControlsEnabled && ValueControlsEnabled; }
};

class TJpegWorkflow {
 public:
  // The temporary file is appDir / "Tmp.jpg".
  explicit TJpegWorkflow(TJpegWorkflowSeam seam, std::filesystem::path appDir);

  // From now on pictures are read and results made on worker threads, and arrive through
  // the user-interface thread's queue (CheckSynchronize). The tab stays as it is while a
  // picture is read; a later Open or a Clear drops it. The value controls stay on while a
  // result is made, but for the first result after Open, which sets them; a setting
  // changed before a result arrives drops it, so only the latest setting's result is shown.
  void RecompressInBackground();
  // A picture being opened or a result asked for has not arrived yet.
  bool Recompressing() const { return FAwaited != 0 || FAwaitedSource != 0; }
  // Runs the user-interface thread's queue until the picture and the result asked for last
  // have arrived.
  void WaitForResult();
  // The size the result pane draws its picture at: results made in the background are
  // decoded for it, at a reduced scale when the picture is at least twice as large.
  void SetResultPaneSize(int width, int height);

  const TJpegTabState& State() const { return FState; }
  // The two panes: Image2 the source, Image3 the result.
  const TPicture& Image2() const { return FImage2; }
  const TPicture& Image3() const { return FImage3; }
  const TJPEGImage* SourceJpeg() const { return FSourceJpeg.get(); }
  int64_t SourceSize() const { return FSourceSize; }
  int64_t ResultSize() const { return FResultSize; }
  bool SourceJustOpened() const { return FSourceJustOpened; }
  std::filesystem::path TemporaryFile() const { return FAppDir / "Tmp.jpg"; }

  // "Open" with the file the open dialog gave.
  void Open(const std::filesystem::path& fileName);
  // "Clear": empties the panes and labels and disables the adjustment controls.
  void Clear();
  // Whether "Save" does anything: the result pane holds a picture.
  bool CanSave() const { return FImage3.Graphic() != nullptr; }
  // The name the save dialog starts with.
  std::string SaveDialogFileName() const;
  // "Save" with the name and filter index (1 ".jpg", 2 ".jpeg") the dialog gave. Answers
  // the file written, if any.
  std::optional<std::filesystem::path> Save(const std::string& chosenName, int filterIndex);
  // Writes the result as it is to the file.
  void SaveResultTo(const std::filesystem::path& fileName);

  // The widgets' events.
  void RxSlider1Change(int position);
  void Edit2Change(const std::string& text);
  // number 1 to 4: ticks the radio button, then runs its click event.
  void RadioButtonClick(int number);
  // Ticks the radio button without its event.
  void CheckRadioButton(int number);
  void SetIncrementalDisplay(bool checked) { FState.IncrementalDisplay = checked; }
  void SetProgressiveDisplay(bool checked) { FState.ProgressiveDisplay = checked; }
  // The JPG tab became active.
  void TabActivated();

  // Builds and shows the result at the quality (0 to 100).
  void RecompressJpeg(int quality);

 private:
  void TakeSource(const std::filesystem::path& fileName, TJpegSource& source);
  void RefuseSource(const std::string& reason);
  void SourceArrived(uint64_t serial, TJpegSource& source, std::exception_ptr error);
  void Recompress(int quality);
  TJpegRecompressJob MakeJob(int quality);
  void ShowResult(int quality, TJpegRecompressResult& result);
  void ResultArrived(uint64_t serial, TJpegRecompressResult& result, std::exception_ptr error);
  void SetEditText(const std::string& text);
  void SetTrackBarPosition(int position);
  void OnEdit2Change();
  void OnSliderChange();
  void NotifyPaneChanged(int pane);
  // Runs an event handler; what it raises goes to the error report.
  void Handle(const std::function<void()>& handler);

  TJpegWorkflowSeam FSeam;
  std::filesystem::path FAppDir;
  TJpegTabState FState;
  TPicture FImage2;
  TPicture FImage3;
  std::unique_ptr<TJPEGImage> FSourceJpeg;
  // The source's bitmap, which the recompressions read, on whatever thread.
  std::shared_ptr<const TBitmap> FSourceBitmap;
  int64_t FSourceSize = 0;
  int64_t FResultSize = 0;
  bool FSourceJustOpened = false;
  // Background mode: the serial of the result awaited (0 for none) and its quality.
  uint64_t FAwaited = 0;
  int FAwaitedQuality = 0;
  // Background mode: the serial of the picture being read (0 for none) and its file.
  uint64_t FAwaitedSource = 0;
  std::filesystem::path FAwaitedFile;
  int FPaneWidth = 0;
  int FPaneHeight = 0;
  // Declared last: gone first, while what their outcomes reach is still there.
  std::unique_ptr<TJpegSourceReader> FSourceReader;
  std::unique_ptr<TJpegRecompressor> FRecompressor;
};

// The picture in the file drawn into a 24-bit bitmap, as Open takes it; the reader's error
// when it cannot be read.
std::unique_ptr<TBitmap> DrawPictureFile(const std::filesystem::path& fileName);
// The name without its extension: the part from the last "." after the last "/", "\"
// or ":". A name without one comes back unchanged.
std::string StripExtension(const std::string& name);
// The extension StripExtension removes, or "".
std::string ExtensionOf(const std::string& name);
// The byte size of the file; EFOpenError when it cannot be read.
int64_t FileByteSize(const std::filesystem::path& fileName);
// The text the application's error report shows: the message, with "." appended when its
// last character sorts after ".".
std::string ErrorReportText(const std::string& message);

}  // namespace corvane
