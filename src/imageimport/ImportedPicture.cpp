#include "ImportedPicture.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include <jpeglib.h>

#include "gif/GIFMemoryBudget.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/FileUtils.h"
#include "platform/Stream.h"

namespace corvane {

void TImportedPicture::CopyFrom(const TPersistent& source) {
  if (auto* picture = dynamic_cast<const TImportedPicture*>(&source)) {
    if (picture == this) return;
    auto copy = std::make_unique<TBitmap>();
    copy->CopyFrom(*picture->FBitmap);
    TakePicture(std::move(copy));
    return;
  }
  TGraphic::CopyFrom(source);
}

void TImportedPicture::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of an imported picture"); }

void TImportedPicture::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of an imported picture"); }

void TImportedPicture::Draw(TCanvas& canvas, const TRect& rect) {
  canvas.CopyRect(rect, *FBitmap, Bounds(0, 0, FBitmap->Width(), FBitmap->Height()));
}

void TImportedPicture::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> bytes(size_t(stream.Remaining()));
  stream.ReadBuffer(bytes.data(), int64_t(bytes.size()));
  TakePicture(Decode(bytes));
}

void TImportedPicture::LoadFromFile(const std::filesystem::path& fileName) { TakePicture(Decode(ReadWholeFile(fileName))); }

void TImportedPicture::SaveToStream(TStream&) {
  throw EInvalidGraphicOperation("Pictures of this format can be read but not written");
}

void TImportedPicture::TakePicture(std::unique_ptr<TBitmap> picture) {
  FBitmap = std::move(picture);
  Changed();
}

namespace {

std::atomic<int64_t> gPixelLimit{kMaxBitmapPixels};

}  // namespace

int64_t ImportPixelLimit() { return gPixelLimit; }

void SetImportPixelLimit(int64_t pixels) { gPixelLimit = std::min(pixels, kMaxBitmapPixels); }

void CheckPictureSize(int64_t width, int64_t height, const std::string& format) {
  if (width <= 0 || height <= 0)
    throw EInvalidGraphic(format + " picture has no pixels (" + std::to_string(width) + " x " +
                          std::to_string(height) + ")");
  int64_t limit = ImportPixelLimit();
  if (width > limit / height)
    throw EInvalidGraphic(format + " picture too large (" + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels, limit " + std::to_string(limit) + " pixels)");
  if (width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION)
    throw EInvalidGraphic(format + " picture too large for a JPEG file (" + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels, at most " + std::to_string(JPEG_MAX_DIMENSION) +
                          " a side)");
  CheckPictureMemory(width, height);
}

void CheckPictureMemory(int64_t width, int64_t height) {
  if (TGIFBudgetAccount* account = ThreadBudgetAccount())
    account->CheckRoom(int64_t(kConversionCopies) * TBitmap::StrideFor(int(width), TPixelFormat::pf24bit) * height);
}

}  // namespace corvane
