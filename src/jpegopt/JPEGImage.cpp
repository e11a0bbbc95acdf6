#include "JPEGImage.h"

#include "HalftonePalette.h"
#include "JPEGException.h"
#include "JpegSession.h"
#include "platform/Canvas.h"
#include "platform/Display.h"
#include "platform/PictureRegistry.h"
#include "platform/Stream.h"

namespace corvane {

namespace {

// The library decodes at 1/1, 1/2, 1/4 and 1/8 of the picture's size.
constexpr unsigned kMaxScaleDenominator = 8;

int ScaledDown(int size, unsigned denominator) { return int((unsigned(size) + denominator - 1) / denominator); }

}  // namespace

TJPEGImage::TJPEGImage() : FData(std::make_shared<TJPEGData>()) {
  const TJPEGDefaults& defaults = JpegSettingDefaults();
  SaveQuality = defaults.SaveQuality;
  WriteProgressive = defaults.WriteProgressive;
  InterblockSmoothing = defaults.InterblockSmoothing;
  ShowPasses = defaults.ShowPasses;
  DecodeSpeed = defaults.DecodeSpeed;
  DecodeScale = defaults.DecodeScale;
  FGreyMode = defaults.GreyMode;
  FColourDepth = defaults.ColourDepth;
}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::CopyFrom(const TPersistent& source) {
  if (auto* jpeg = dynamic_cast<const TJPEGImage*>(&source)) {
    if (jpeg == this) return;
    FData = jpeg->FData;
    FBitmap.reset();
    if (jpeg->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->CopyFrom(*jpeg->FBitmap);
    }
    FPreview.reset();
    if (jpeg->FPreview) {
      FPreview = std::make_unique<TBitmap>();
      FPreview->CopyFrom(*jpeg->FPreview);
      FPreviewReduction = jpeg->FPreviewReduction;
    }
    Changed();
  } else if (auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
    auto copy = std::make_unique<TBitmap>();
    copy->CopyFrom(*bitmap);
    FData = std::make_shared<TJPEGData>();
    FBitmap = std::move(copy);
    FPreview.reset();
    Changed();
  } else {
    TGraphic::CopyFrom(source);
  }
}

void TJPEGImage::CopyTo(TPersistent& target) const {
  if (auto* bitmap = dynamic_cast<TBitmap*>(&target)) {
    bitmap->CopyFrom(const_cast<TJPEGImage*>(this)->DecodeBitmap());  // decoding caches the bitmap
    return;
  }
  TGraphic::CopyTo(target);
}

int TJPEGImage::Width() const {
  if (FBitmap) return FBitmap->Width();
  return DecodeScale == TJPEGScale::FullSize ? FData->Width : ScaledSize().X;
}

int TJPEGImage::Height() const {
  if (FBitmap) return FBitmap->Height();
  return DecodeScale == TJPEGScale::FullSize ? FData->Height : ScaledSize().Y;
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }

void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }

bool TJPEGImage::Empty() const {
  if (!FData->Bytes.empty()) return false;
  return !FBitmap || FBitmap->Empty();
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& rect) {
  const TBitmap& bitmap = DrawingBitmap(rect.Width(), rect.Height());
  canvas.CopyRect(rect, bitmap, Bounds(0, 0, bitmap.Width(), bitmap.Height()));
}

void TJPEGImage::DecodeToDraw(int width, int height) { DrawingBitmap(width, height); }

const TBitmap& TJPEGImage::DrawingBitmap(int width, int height) {
  unsigned reduction = FBitmap || FData->Bytes.empty() ? 1 : DrawReduction(width, height);
  if (reduction == 1) return DecodeBitmap();
  if (!FPreview || FPreviewReduction != reduction) DecodePreview(reduction);
  // A cancelled preview leaves none.
  return FPreview ? *FPreview : DecodeBitmap();
}

// The largest further reduction within the library's scales that still leaves at least
// width by height pixels; 1 for an empty rectangle.
unsigned TJPEGImage::DrawReduction(int width, int height) const {
  if (width <= 0 || height <= 0) return 1;
  unsigned scale = 1u << unsigned(DecodeScale), reduction = 1;
  auto fits = [&](unsigned denominator) {
    return denominator <= kMaxScaleDenominator && ScaledDown(FData->Width, denominator) >= width &&
           ScaledDown(FData->Height, denominator) >= height;
  };
  while (fits(scale * reduction * 2)) reduction *= 2;
  return reduction;
}

void TJPEGImage::LoadFromStream(TStream& stream) { ReadJpegStream(stream.Remaining(), stream); }

void TJPEGImage::SaveToStream(TStream& stream) {
  EnsureCompressed();
  stream.WriteBytes(FData->Bytes);
}

void TJPEGImage::WriteData(TStream& stream) const {
  uint32_t count = uint32_t(FData->Bytes.size());
  uint8_t prefix[4] = {uint8_t(count), uint8_t(count >> 8), uint8_t(count >> 16), uint8_t(count >> 24)};
  stream.WriteBuffer(prefix, 4);
  stream.WriteBytes(FData->Bytes);
}

void TJPEGImage::ReadData(TStream& stream) {
  uint8_t prefix[4];
  stream.ReadBuffer(prefix, 4);
  uint32_t count = prefix[0] | prefix[1] << 8 | prefix[2] << 16 | uint32_t(prefix[3]) << 24;
  ReadJpegStream(count, stream);
}

void TJPEGImage::ReadJpegStream(int64_t count, TStream& stream) {
  // Nothing is allocated for bytes the stream does not have.
  if (count < 0 || count > stream.Remaining()) throw EReadError();
  auto data = std::make_shared<TJPEGData>();
  data->Bytes.resize(size_t(count));
  stream.ReadBuffer(data->Bytes.data(), count);
  bool progressive = false;
  if (count > 0) {
    TJpegDecompressor decoder(nullptr);
    decoder.ReadHeader(data->Bytes);
    if (int64_t(decoder.Info.image_width) * decoder.Info.image_height > kMaxBitmapPixels)
      throw EJPEG("JPEG image too large (" + std::to_string(decoder.Info.image_width) + " x " +
                  std::to_string(decoder.Info.image_height) + " pixels)");
    data->Width = int(decoder.Info.image_width);
    data->Height = int(decoder.Info.image_height);
    data->Grey = decoder.Info.jpeg_color_space == JCS_GRAYSCALE;
    progressive = decoder.HasMultipleScans();
  }
  // A file that cannot be read leaves the object as it was.
  FData = std::move(data);
  FBitmap.reset();
  FPreview.reset();
  WriteProgressive = progressive;
  PaletteModified = true;
  Changed();
}

void TJPEGImage::EnsureCompressed() {
  if (FData->Bytes.empty()) CompressBitmap();
}

TPoint TJPEGImage::ScaledSize() const {
  if (FData->Bytes.empty()) return {};
  TJpegDecompressor decoder(nullptr);
  decoder.ReadHeader(FData->Bytes);
  decoder.Info.scale_num = 1;
  decoder.Info.scale_denom = 1u << unsigned(DecodeScale);
  decoder.Run([&] { jpeg_calc_output_dimensions(&decoder.Info); });
  return {int(decoder.Info.output_width), int(decoder.Info.output_height)};
}

TPalette TJPEGImage::Palette() {
  if (FBitmap) return FBitmap->Palette();
  if (FHeldPalette) return FHeldPalette;
  if (FColourDepth == TJPEGPixelFormat::Depth24 && DisplayBitsPerPixel() <= 8) FHeldPalette = HalftonePalette();
  return FHeldPalette;
}

void TJPEGImage::SetPalette(TPalette palette) {
  if (palette == FHeldPalette) return;
  FPreview.reset();
  bool bitmapFreed = FBitmap && FBitmap->Palette() != palette;
  if (bitmapFreed) FBitmap.reset();
  FHeldPalette = std::move(palette);
  if (bitmapFreed) {
    PaletteModified = true;
    Changed();
  }
}

bool TJPEGImage::Equals(TGraphic& other) {
  auto* jpeg = dynamic_cast<TJPEGImage*>(&other);
  if (!jpeg) return false;
  if (!FData->Bytes.empty() && !jpeg->FData->Bytes.empty()) return TGraphic::Equals(other);
  return FData == jpeg->FData;
}

void TJPEGImage::DiscardBitmapForSetting() {
  FBitmap.reset();
  FPreview.reset();
  PaletteModified = true;
  Changed();
}

void TJPEGImage::SetGreyMode(bool value) {
  if (value == FGreyMode) return;
  FGreyMode = value;
  DiscardBitmapForSetting();
}

void TJPEGImage::SetColourDepth(TJPEGPixelFormat value) {
  if (value == FColourDepth) return;
  FColourDepth = value;
  DiscardBitmapForSetting();
}

void RegisterJPEGFormat() {
  // Registering replaces an entry, so calling this again changes nothing.
  for (const char* extension : {"jpeg", "jpg"})
    RegisterFileFormat(extension, "JPEG Image File", [] { return std::make_unique<TJPEGImage>(); });
}

}  // namespace corvane
