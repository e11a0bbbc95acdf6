#include "JpegWorkflow.h"

#include <charconv>
#include <system_error>

#include "SizeText.h"
#include "platform/Canvas.h"
#include "platform/FileUtils.h"
#include "platform/Stream.h"
#include "platform/Synchronize.h"

namespace corvane {

namespace {

constexpr int kQualityAfterOpen = 60;

// The edit's text as an integer, as the toolkit reads it: leading blanks, a sign, digits.
int EditNumber(const std::string& text) {
  size_t start = text.find_first_not_of(' ');
  const char* first = text.data() + (start == std::string::npos ? text.size() : start);
  if (first != text.data() + text.size() && *first == '+') ++first;
  int value = 0;
  auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    throw EConvertError("'" + text + "' is not a valid integer value");
  return value;
}

size_t ExtensionStart(const std::string& name) {
  size_t dot = name.find_last_of('.');
  size_t separator = name.find_last_of("/\\:");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return name.size();
  return dot;
}

}  // namespace

TJpegWorkflow::TJpegWorkflow(TJpegWorkflowSeam seam, std::filesystem::path appDir)
    : FSeam(std::move(seam)), FAppDir(std::move(appDir)) {}

void TJpegWorkflow::Handle(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    FSeam.ReportError(e.what());
  }
}

void TJpegWorkflow::Open(const std::filesystem::path& fileName) {
  if (FSourceReader) {
    FAwaitedFile = fileName;
    FAwaitedSource = FSourceReader->Request(fileName);
    return;
  }
  Handle([&] {
    TJpegSource source;
    try {
      source = ReadJpegSource(fileName);
    } catch (const std::exception& e) {
      RefuseSource(e.what());
      return;
    }
    TakeSource(fileName, source);
  });
}

void TJpegWorkflow::SourceArrived(uint64_t serial, TJpegSource& source, std::exception_ptr error) {
  if (serial != FAwaitedSource) return;  // a later Open or a Clear came
  FAwaitedSource = 0;
  Handle([&] {
    try {
      if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
      RefuseSource(e.what());
      return;
    }
    TakeSource(FAwaitedFile, source);
  });
  if (FSeam.StateChanged) FSeam.StateChanged();
}

// The picture open before stays, with its panes and controls.
void TJpegWorkflow::RefuseSource(const std::string& reason) {
  if (FSeam.OpenRefused) FSeam.OpenRefused(reason);
  FSeam.ShowMessage("Sorry, it is not a correct file format!!");
}

void TJpegWorkflow::TakeSource(const std::filesystem::path& fileName, TJpegSource& source) {
  FSourceJpeg = std::move(source.Jpeg);
  FSourceBitmap = std::move(source.Pixels);
  FState.LBSrcFN = FileNamePart(fileName.string());
  if (source.SizeError) std::rethrow_exception(source.SizeError);
  FSourceSize = source.Size;
  FState.SrcSize = FormatByteSize(FSourceSize);
  FImage2.SetGraphic(std::move(source.Shown));
  NotifyPaneChanged(2);
  FState.AdjustmentControlsEnabled = true;
  FState.ValueControlsEnabled = true;
  FSourceJustOpened = true;
  Recompress(kQualityAfterOpen);
}

void TJpegWorkflow::Clear() {
  FAwaitedSource = 0;  // a picture read now is dropped
  if (FAwaited != 0) {
    FAwaited = 0;  // what arrives now is dropped
    FState.ValueControlsEnabled = true;
    FState.Cursor = TCursor::crDefault;
  }
  FState.AdjustmentControlsEnabled = false;
  FImage2.Clear();
  FImage3.Clear();
  NotifyPaneChanged(2);
  NotifyPaneChanged(3);
  FState.LBSrcFN = FState.SrcSize = FState.CurrentSize = FState.SavedSize = " ";
}

void TJpegWorkflow::TabActivated() {
  if (!FImage2.Graphic()) FState.AdjustmentControlsEnabled = false;
}

std::string TJpegWorkflow::SaveDialogFileName() const { return StripExtension(FState.LBSrcFN); }

std::optional<std::filesystem::path> TJpegWorkflow::Save(const std::string& chosenName, int filterIndex) {
  WaitForResult();  // the setting in force is what the user saves
  if (!CanSave()) return std::nullopt;
  std::string extension = ExtensionOf(chosenName), name = chosenName;
  if (extension != ".jpg" && extension != ".jpeg") {
    if (filterIndex == 1)
      name += ".jpg";
    else if (filterIndex == 2)
      name += ".jpeg";
    else
      return std::nullopt;
  }
  std::optional<std::filesystem::path> written;
  Handle([&] {
    SaveResultTo(name);
    written = name;
  });
  return written;
}

void TJpegWorkflow::SaveResultTo(const std::filesystem::path& fileName) {
  if (!CanSave()) throw EInvalidGraphicOperation("There is no result to save");
  FImage3.Graphic()->SaveToFile(fileName);
}

void TJpegWorkflow::RecompressJpeg(int quality) {
  Handle([&] { Recompress(quality); });
}

void TJpegWorkflow::Recompress(int quality) {
  if (!FSourceJpeg) throw EInvalidGraphicOperation("No picture is open");
  // A result made in the background leaves the value controls on, so that the setting can
  // move on meanwhile; the first one after Open sets them.
  if (!FRecompressor || FSourceJustOpened) FState.ValueControlsEnabled = false;
  FState.Cursor = TCursor::crAppStart;
  if (FSeam.RecompressionStarted) FSeam.RecompressionStarted();
  TJpegRecompressJob job = MakeJob(quality);
  if (FRecompressor) {
    FAwaitedQuality = quality;
    FAwaited = FRecompressor->Request(std::move(job));
    return;
  }
  TJpegRecompressResult result = RunRecompressJob(job);
  ShowResult(quality, result);
}

TJpegRecompressJob TJpegWorkflow::MakeJob(int quality) {
  TJpegRecompressJob job{FSourceBitmap, quality, {}, {}, TemporaryFile(), FRecompressor && !FState.IncrementalDisplay,
                         FPaneWidth, FPaneHeight};
  if (FSourceJustOpened) {
    // The first result after Open shows the source's settings; it keeps the defaults.
    CheckRadioButton(FSourceJpeg->ColourDepth() == TJPEGPixelFormat::Depth8 ? 1 : 2);
    CheckRadioButton(FSourceJpeg->IsGrey() ? 4 : 3);
    FState.ProgressiveDisplay = FSourceJpeg->WriteProgressive;
    return job;
  }
  job.ColourDepth = FState.RadioButton1 ? TJPEGPixelFormat::Depth8 : TJPEGPixelFormat::Depth24;
  job.GreyMode = FState.RadioButton4;
  return job;
}

void TJpegWorkflow::ShowResult(int quality, TJpegRecompressResult& result) {
  FImage3.SetGraphic(std::move(result.Shown));
  NotifyPaneChanged(3);
  FState.Image3IncrementalDisplay = FState.IncrementalDisplay;
  FResultSize = result.Size;
  FState.CurrentSize = FormatByteSize(FResultSize);
  int64_t saved = FSourceSize - FResultSize;
  FState.SavedSize = saved > 0 ? FormatByteSize(saved) : "0";
  SetEditText(std::to_string(100 - quality));
  SetTrackBarPosition(100 - quality);
  FState.ValueControlsEnabled = true;
  FState.Cursor = TCursor::crDefault;
  FSourceJustOpened = false;
}

void TJpegWorkflow::RecompressInBackground() {
  if (FRecompressor) return;
  FRecompressor = std::make_unique<TJpegRecompressor>(
      RunRecompressJob, [this](uint64_t serial, TJpegRecompressResult& result, std::exception_ptr error) {
        ResultArrived(serial, result, error);
      });
  FSourceReader = std::make_unique<TJpegSourceReader>(
      [](const std::filesystem::path& fileName, const std::function<bool()>& superseded) {
        return ReadJpegSource(fileName, superseded);
      },
      [this](uint64_t serial, TJpegSource& source, std::exception_ptr error) { SourceArrived(serial, source, error); });
}

void TJpegWorkflow::ResultArrived(uint64_t serial, TJpegRecompressResult& result, std::exception_ptr error) {
  if (serial != FAwaited) return;  // a later setting's result is on its way, or Clear came first
  FAwaited = 0;
  Handle([&] {
    // A failed result leaves the value controls off and the cursor busy, as when made here.
    if (error) {
      FState.ValueControlsEnabled = false;
      std::rethrow_exception(error);
    }
    ShowResult(FAwaitedQuality, result);
  });
  if (FSeam.StateChanged) FSeam.StateChanged();
}

void TJpegWorkflow::SetResultPaneSize(int width, int height) {
  FPaneWidth = width;
  FPaneHeight = height;
}

void TJpegWorkflow::WaitForResult() {
  while (Recompressing()) CheckSynchronize(kInfinite);
}

void TJpegWorkflow::NotifyPaneChanged(int pane) {
  if (FSeam.PaneChanged) FSeam.PaneChanged(pane);
}

void TJpegWorkflow::RxSlider1Change(int position) {
  Handle([&] { SetTrackBarPosition(position); });
}

void TJpegWorkflow::Edit2Change(const std::string& text) {
  Handle([&] {
    FState.Edit2 = text;
    OnEdit2Change();
  });
}

void TJpegWorkflow::CheckRadioButton(int number) {
  bool pixelFormat = number <= 2;
  (pixelFormat ? FState.RadioButton1 : FState.RadioButton3) = number == 1 || number == 3;
  (pixelFormat ? FState.RadioButton2 : FState.RadioButton4) = number == 2 || number == 4;
}

void TJpegWorkflow::RadioButtonClick(int number) {
  CheckRadioButton(number);
  if (!FSourceJustOpened) RecompressJpeg(100 - FState.TrackBarPosition);
}

void TJpegWorkflow::SetEditText(const std::string& text) {
  if (text == FState.Edit2) return;
  FState.Edit2 = text;
  OnEdit2Change();
}

void TJpegWorkflow::SetTrackBarPosition(int position) {
  position = std::clamp(position, 0, 100);
  if (position == FState.TrackBarPosition) return;
  FState.TrackBarPosition = position;
  OnSliderChange();
}

void TJpegWorkflow::OnSliderChange() {
  if (EditNumber(FState.Edit2) == FState.TrackBarPosition) return;
  SetEditText(std::to_string(FState.TrackBarPosition));
  if (!FSourceJustOpened) Recompress(100 - FState.TrackBarPosition);
}

void TJpegWorkflow::OnEdit2Change() {
  int number = EditNumber(FState.Edit2);
  if (number < 0 || number > 100) {
    // Refused: a value outside the slider's range would wrap round in the one-byte quality.
    // The edit shows the value in force again.
    FSeam.ShowMessage("Sorry, \"" + FState.Edit2 + "\" is not a integer between 0 and 100 ");
    FState.Edit2 = std::to_string(FState.TrackBarPosition);
    return;
  }
  if (number == FState.TrackBarPosition) return;
  SetTrackBarPosition(number);
  if (!FSourceJustOpened) Recompress(100 - EditNumber(FState.Edit2));
}

std::unique_ptr<TBitmap> DrawPictureFile(const std::filesystem::path& fileName) {
  TPicture picture;
  picture.LoadFromFile(fileName);
  auto bitmap = std::make_unique<TBitmap>(picture.Width(), picture.Height(), TPixelFormat::pf24bit);
  bitmap->Canvas().Draw(0, 0, *picture.Graphic());
  return bitmap;
}

std::string StripExtension(const std::string& name) { return name.substr(0, ExtensionStart(name)); }

std::string ExtensionOf(const std::string& name) { return name.substr(ExtensionStart(name)); }

int64_t FileByteSize(const std::filesystem::path& fileName) {
  std::error_code error;
  uintmax_t size = std::filesystem::file_size(fileName, error);
  if (error) throw EFOpenError(fileName.string());
  return int64_t(size);
}

std::string ErrorReportText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace corvane
