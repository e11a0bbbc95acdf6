#include "GIFImage.h"

#include <algorithm>
#include <mutex>

#include "gif/GIFMemoryBudget.h"
#include "gif/GIFRenderHook.h"
#include "gif/GIFStreamIO.h"
#include "platform/Bitmap.h"
#include "platform/PictureRegistry.h"

namespace corvane {

TGIFImage::TGIFImage()
    : FFrameList(std::make_unique<TGIFImageList>(*this)), FHeaderBlock(std::make_unique<TGIFHeader>(*this)) {
  DiscardContents();
}

TGIFImage::~TGIFImage() {
  StopAllPainters();
  if (TGIFRenderHook* hook = GIFRenderHook()) hook->ForgetImage(*this);
  // Frames give their pixel memory back to this image as they go.
  DiscardContents();
}

void TGIFImage::CopyFrom(const TPersistent& source) {
  if (&source == this) return;
  if (const auto* image = dynamic_cast<const TGIFImage*>(&source)) {
    CopyFromImage(*image);
    return;
  }
  DiscardContents();
  TGraphic::CopyFrom(source);
}

void TGIFImage::CopyFromImage(const TGIFImage& source) {
  DiscardContents();
  FWarningHandler = source.FWarningHandler;
  OnProgress = source.OnProgress;
  auto dropHandlers = [this] {
    FWarningHandler = nullptr;
    OnProgress = nullptr;
  };
  const std::string message = "Copying...";
  try {
    Progress(this, TProgressStage::psStarting, 0, false, {}, message);
    FHeaderBlock->CopyFrom(*source.FHeaderBlock);
    FPainterPriority = source.FPainterPriority;
    FDrawFillColor = source.FDrawFillColor;
    DrawFlags = source.DrawFlags;
    OnPaintStart = source.OnPaintStart;
    OnPaintFrame = source.OnPaintFrame;
    OnPaintAfter = source.OnPaintAfter;
    OnPaintLoop = source.OnPaintLoop;
    OnPaintEnd = source.OnPaintEnd;
    int count = source.FrameCount();
    for (int i = 0; i < count; ++i) {
      auto frame = std::make_unique<TGIFSubImage>(*this);
      frame->CopyFrom(source.Frame(i));
      AppendFrame(std::move(frame));
      Progress(this, TProgressStage::psRunning, RoundedPercent(i + 1, count), false, {}, message);
    }
    Progress(this, TProgressStage::psEnding, 100, false, {}, message);
  } catch (...) {
    Progress(this, TProgressStage::psEnding, 0, false, {}, message);
    dropHandlers();
    throw;
  }
  dropHandlers();
}

void TGIFImage::SetWidth(int value) {
  if (value < 0 || value > kMaxGifExtent) throw GIFException("Invalid image dimensions");
  if (value == FHeaderBlock->CanvasWidth) return;
  FHeaderBlock->CanvasWidth = uint16_t(value);
  DropStillBitmap();
  Changed();
}

void TGIFImage::SetHeight(int value) {
  for (int i = 0; i < FrameCount(); ++i) {
    const TGIFSubImage& frame = Frame(i);
    if (value < frame.FrameTop() + frame.FrameHeight())
      throw GIFException("Image height too small for contained frames");
  }
  if (value < 0 || value > kMaxGifExtent) throw GIFException("Invalid image dimensions");
  if (value == FHeaderBlock->CanvasHeight) return;
  FHeaderBlock->CanvasHeight = uint16_t(value);
  DropStillBitmap();
  Changed();
}

void TGIFImage::SetPalette(TPalette palette) {
  if (palette == FScreenPalette) return;
  FScreenPalette = std::move(palette);
  TGIFRenderHook* hook = GIFRenderHook();
  if (hook && hook->DropStillOfOtherPalette(*this)) {
    PaletteModified = true;
    Changed();
  }
}

void TGIFImage::LoadFromStream(TStream& stream) {
  const std::string message = "Loading...";
  Progress(this, TProgressStage::psStarting, 0, false, {}, message);
  DiscardContents();
  int64_t start = stream.Position();
  try {
    FHeaderBlock->LoadFromStream(stream);
    FFrameList->LoadFromStream(stream);
    TGIFTrailer trailer(*this);
    trailer.LoadFromStream(stream);
  } catch (...) {
    stream.SetPosition(start);
    Progress(this, TProgressStage::psEnding, 0, false, {}, message);
    throw;
  }
  Progress(this, TProgressStage::psEnding, 100, false, {}, message);
}

void TGIFImage::SaveToStream(TStream& stream) {
  const std::string message = "Saving...";
  Progress(this, TProgressStage::psStarting, 0, false, {}, message);
  FSaveDepth = DeepestBitDepth();
  try {
    FHeaderBlock->SaveToStream(stream);
    FFrameList->SaveToStream(stream);
    TGIFTrailer trailer(*this);
    trailer.SaveToStream(stream);
  } catch (...) {
    FSaveDepth = 0;
    Progress(this, TProgressStage::psEnding, 0, false, {}, message);
    throw;
  }
  FSaveDepth = 0;
  Progress(this, TProgressStage::psEnding, 100, false, {}, message);
}

void TGIFImage::DiscardContents() {
  StopAllPainters();
  FFrameList->DeleteAll();
  FHeaderBlock->GlobalTable().ClearTable();
  FHeaderBlock->CanvasWidth = 0;
  FHeaderBlock->CanvasHeight = 0;
  FHeaderBlock->RefreshScreenFlags();
  SetPalette(nullptr);
}

int TGIFImage::AppendFrame(std::unique_ptr<TGIFSubImage> frame) {
  if (!frame || &frame->OwnerImage() != this) throw GIFException("Object type not supported for operation");
  int index = FFrameList->AppendMember(std::move(frame));
  DropStillBitmap();
  Changed();
  return index;
}

TGifRevision TGIFImage::FileRevision() const {
  TGifRevision revision = revNone;
  for (int i = 0; i < FrameCount() && revision != rev89a; ++i) revision = std::max(revision, Frame(i).FileRevision());
  return revision;
}

int TGIFImage::DeepestBitDepth() const {
  if (FSaveDepth > 0) return FSaveDepth;
  int depth = FHeaderBlock->GlobalTable().TableDepth();
  for (int i = 0; i < FrameCount(); ++i)
    if (!Frame(i).IsBlank()) depth = std::max(depth, Frame(i).TableDepth());
  return depth;
}

int TGIFImage::DeepestResolution() const {
  int resolution = FHeaderBlock->GlobalTable().TableResolution();
  for (int i = 0; i < FrameCount(); ++i)
    if (!Frame(i).IsBlank()) resolution = std::max(resolution, Frame(i).TableResolution());
  return resolution;
}

TColor TGIFImage::ScreenBackgroundColor() const {
  return FHeaderBlock->GlobalTable().ColorAt(FHeaderBlock->BackdropIndex);
}

void TGIFImage::ReportWarning(const TPersistent* sender, TGIFWarningSeverity severity, const std::string& message) const {
  if (FWarningHandler) FWarningHandler(sender, severity, message);
}

void TGIFImage::ReservePixelBytes(int64_t bytes, int width, int height) {
  TGIFPixelLimits limits = GIFPixelLimits();
  if (bytes > limits.FramePixels)
    throw GIFException("Frame too large (" + std::to_string(width) + " x " + std::to_string(height) + " pixels)");
  if (FPixelBytes + bytes > limits.ImageBytes)
    throw GIFException("Image too large (its frames need more than " + std::to_string(limits.ImageBytes) +
                       " bytes of pixels)");
  if (FBudgetAccount) FBudgetAccount->Reserve(bytes);
  FPixelBytes += bytes;
}

void TGIFImage::ReturnPixelBytes(int64_t bytes) {
  FPixelBytes -= bytes;
  if (FBudgetAccount) FBudgetAccount->Return(bytes);
}

void TGIFImage::SetBudgetAccount(TGIFBudgetAccount* account) {
  if (FPixelBytes != 0) throw EInvalidGraphicOperation("The image holds pixels");
  FBudgetAccount = account;
}

void TGIFImage::Draw(TCanvas& canvas, const TRect& rect) {
  if (TGIFRenderHook* hook = GIFRenderHook()) hook->Draw(*this, canvas, rect);
}

TPalette TGIFImage::Palette() {
  TGIFRenderHook* hook = GIFRenderHook();
  return hook ? hook->Palette(*this) : FScreenPalette;
}

void TGIFImage::CopyTo(TPersistent& target) const {
  TGIFRenderHook* hook = GIFRenderHook();
  if (!hook || !hook->CopyTo(const_cast<TGIFImage&>(*this), target)) TGraphic::CopyTo(target);
}

void TGIFImage::CheckDrawableSize() const {
  if (int64_t(Width()) * Height() > kMaxBitmapPixels)
    throw GIFException("Image too large to draw (" + std::to_string(Width()) + " x " + std::to_string(Height()) +
                       " pixels)");
}

void TGIFImage::DropStillBitmap() {
  if (TGIFRenderHook* hook = GIFRenderHook()) hook->DropStillPicture(*this);
}

void TGIFImage::StopAllPainters() {
  if (TGIFRenderHook* hook = GIFRenderHook()) hook->StopAllPainters(*this);
}

void RegisterGIFFormat() {
  static std::once_flag registered;
  std::call_once(registered, [] {
    RegisterFileFormat("GIF", "GIF Image", [] { return std::make_unique<TGIFImage>(); });
  });
}

}  // namespace corvane
