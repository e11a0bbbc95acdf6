// Rendering a frame's colour indices into its 8-bit bitmap and transparency mask: copied
// unchanged, or dithered to the web palette for displays of 256 colours or fewer.

#include <cstring>
#include <span>

#include "gif/DIB.h"
#include "gif/FloydSteinbergDitherer.h"
#include "gif/GIFExtensions.h"
#include "gif/GIFImage.h"
#include "gif/GIFStreamIO.h"
#include "gif/IndexColors.h"

namespace corvane {

namespace {

const std::string kRendering = "Rendering...";

void MarkTransparent(std::span<const uint8_t> pixels, int transparentIndex, uint8_t* maskRow) {
  for (size_t x = 0; x < pixels.size(); ++x)
    if (pixels[x] == transparentIndex) maskRow[x / 8] |= uint8_t(0x80 >> (x % 8));
}

// The value the dithered rows start with under a mask, from the transparent colour.
uint8_t MaskedFillValue(TColor color) {
  int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  auto rounded = [](int n) { return (n + kWebLevelStep / 2) / kWebLevelStep; };
  return uint8_t(rounded(6 * g) + b / kWebLevelStep + rounded(36 * r) + 1);
}

}  // namespace

void TGIFSubImage::ReportRendering(int row) {
  if (row % 32 == 0)
    OwnerImage().Progress(this, TProgressStage::psRunning, RoundedPercent(row, FFrameHeight), false, {}, kRendering);
}

int TGIFSubImage::BeginMask() {
  bool makeMask = FMaskPending && HasTransparency();
  FMaskPending = false;
  return makeMask ? ControlBlock()->TransparentIndex() : -1;
}

void TGIFSubImage::EndMask(std::unique_ptr<TMaskBitmap> mask) {
  if (!mask) return;
  if (mask->AnyTransparent())
    FCachedMask = std::move(mask);
  else
    FCachedMask.reset();
}

void TGIFSubImage::RenderDirect(TBitmap& bitmap) {
  TDIBWriter dib(bitmap, Palette(), FFrameHeight, FFrameWidth, 8);
  int transparentIndex = BeginMask();
  auto mask = transparentIndex >= 0 ? std::make_unique<TMaskBitmap>(FFrameWidth, FFrameHeight) : nullptr;
  for (int y = 0; y < FFrameHeight; ++y) {
    ReportRendering(y);
    std::span<const uint8_t> pixels(FPixelData.get() + size_t(y) * FFrameWidth, FFrameWidth);
    std::memcpy(dib.RowAddress(y), pixels.data(), pixels.size());
    if (mask) MarkTransparent(pixels, transparentIndex, mask->ScanLine(y));
  }
  dib.CommitDIB();
  EndMask(std::move(mask));
}

void TGIFSubImage::RenderDithered(TBitmap& bitmap) {
  TDIBWriter dib(bitmap, Palette(), FFrameHeight, FFrameWidth, 8);
  int transparentIndex = BeginMask();
  auto mask = transparentIndex >= 0 ? std::make_unique<TMaskBitmap>(FFrameWidth, FFrameHeight) : nullptr;
  const TGIFColorMap& table = ActiveTable();
  TIndexColors colors = IndexColors({table.Entries(), size_t(table.EntryCount()) * 3});
  uint8_t fill = mask ? MaskedFillValue(colors[size_t(transparentIndex)]) : 0;
  TFloydSteinbergDitherer ditherer(FFrameWidth);
  for (int y = 0; y < FFrameHeight; ++y) {
    ReportRendering(y);
    std::span<const uint8_t> pixels(FPixelData.get() + size_t(y) * FFrameWidth, FFrameWidth);
    std::span<uint8_t> out(dib.RowAddress(y), FFrameWidth);
    if (mask) std::memset(out.data(), fill, out.size());
    ditherer.DitherRow(pixels, colors, transparentIndex, out);
    if (mask) MarkTransparent(pixels, transparentIndex, mask->ScanLine(y));
  }
  dib.CommitDIB();
  EndMask(std::move(mask));
}

TBitmap* TGIFSubImage::FrameBitmap() {
  if (FCachedBitmap || IsBlank()) return FCachedBitmap.get();
  TGIFImage& image = OwnerImage();
  image.Progress(this, TProgressStage::psStarting, 0, false, {}, kRendering);
  auto bitmap = std::make_unique<TBitmap>();
  auto end = [&](uint8_t percent) {
    image.Progress(this, TProgressStage::psEnding, percent, image.PaletteModified, {}, kRendering);
  };
  try {
    if (image.NeedsDither())
      RenderDithered(*bitmap);
    else
      RenderDirect(*bitmap);
  } catch (const EAbort&) {
    end(0);
    return nullptr;
  } catch (...) {
    end(0);
    throw;
  }
  FCachedBitmap = std::move(bitmap);
  end(100);
  if (image.PaletteModified) image.Changed();
  return FCachedBitmap.get();
}

}  // namespace corvane
