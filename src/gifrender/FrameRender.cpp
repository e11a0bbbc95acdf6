// Rendering a frame's colour indices into its 8-bit bitmap and transparency mask: copied
// unchanged, or dithered to the web palette for displays of 256 colours or fewer.

#include <cstring>
#include <span>

#include "gifrender/DIB.h"
#include "gifrender/FloydSteinbergDitherer.h"
#include "gif/GIFExtensions.h"
#include "gifrender/GIFFrameDrawing.h"
#include "gifrender/GIFImageDrawing.h"
#include "gif/GIFStreamIO.h"
#include "gifrender/IndexColors.h"
#include "gifrender/RenderedFrame.h"

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

// Fills a bitmap and, when one is made, the mask of one frame.
class TFrameRenderer {
 public:
  TFrameRenderer(TGIFSubImage& frame, TRenderedFrame& drawn) : FFrame(frame), FDrawn(drawn) {}

  void RenderDirect(TBitmap& bitmap);
  void RenderDithered(TBitmap& bitmap);

 private:
  std::span<const uint8_t> PixelRow(int y) const {
    return {FFrame.PixelData() + size_t(y) * FFrame.FrameWidth(), FFrame.FrameWidth()};
  }
  void ReportRendering(int row);
  // The transparent index a mask is made for, or -1; the mask is no longer pending.
  int BeginMask();
  // Keeps mask when any pixel is transparent; a mask made for no pixel is none.
  void EndMask(std::unique_ptr<TMaskBitmap> mask);

  TGIFSubImage& FFrame;
  TRenderedFrame& FDrawn;
};

void TFrameRenderer::ReportRendering(int row) {
  if (row % 32 == 0)
    FFrame.OwnerImage().Progress(&FFrame, TProgressStage::psRunning, RoundedPercent(row, FFrame.FrameHeight()), false,
                                 {}, kRendering);
}

int TFrameRenderer::BeginMask() {
  bool makeMask = FDrawn.MaskPending && FFrame.HasTransparency();
  FDrawn.MaskPending = false;
  return makeMask ? FFrame.ControlBlock()->TransparentIndex() : -1;
}

void TFrameRenderer::EndMask(std::unique_ptr<TMaskBitmap> mask) {
  if (!mask) return;
  if (mask->AnyTransparent())
    FDrawn.Mask = std::move(mask);
  else
    FDrawn.Mask.reset();
}

void TFrameRenderer::RenderDirect(TBitmap& bitmap) {
  const int width = FFrame.FrameWidth(), height = FFrame.FrameHeight();
  TDIBWriter dib(bitmap, FramePalette(FFrame), height, width, 8);
  int transparentIndex = BeginMask();
  auto mask = transparentIndex >= 0 ? std::make_unique<TMaskBitmap>(width, height) : nullptr;
  for (int y = 0; y < height; ++y) {
    ReportRendering(y);
    std::span<const uint8_t> pixels = PixelRow(y);
    std::memcpy(dib.RowAddress(y), pixels.data(), pixels.size());
    if (mask) MarkTransparent(pixels, transparentIndex, mask->ScanLine(y));
  }
  dib.CommitDIB();
  EndMask(std::move(mask));
}

void TFrameRenderer::RenderDithered(TBitmap& bitmap) {
  const int width = FFrame.FrameWidth(), height = FFrame.FrameHeight();
  TDIBWriter dib(bitmap, FramePalette(FFrame), height, width, 8);
  int transparentIndex = BeginMask();
  auto mask = transparentIndex >= 0 ? std::make_unique<TMaskBitmap>(width, height) : nullptr;
  const TGIFColorMap& table = FFrame.ActiveTable();
  TIndexColors colors = IndexColors({table.Entries(), size_t(table.EntryCount()) * 3});
  uint8_t fill = mask ? MaskedFillValue(colors[size_t(transparentIndex)]) : 0;
  TFloydSteinbergDitherer ditherer(width);
  for (int y = 0; y < height; ++y) {
    ReportRendering(y);
    std::span<const uint8_t> pixels = PixelRow(y);
    std::span<uint8_t> out(dib.RowAddress(y), width);
    if (mask) std::memset(out.data(), fill, out.size());
    ditherer.DitherRow(pixels, colors, transparentIndex, out);
    if (mask) MarkTransparent(pixels, transparentIndex, mask->ScanLine(y));
  }
  dib.CommitDIB();
  EndMask(std::move(mask));
}

}  // namespace

TBitmap* FrameBitmap(TGIFSubImage& frame) {
  TRenderedFrame& drawn = RenderedFrame(frame);
  if (drawn.Bitmap || frame.IsBlank()) return drawn.Bitmap.get();
  TGIFImage& image = frame.OwnerImage();
  image.Progress(&frame, TProgressStage::psStarting, 0, false, {}, kRendering);
  auto bitmap = std::make_unique<TBitmap>();
  auto end = [&](uint8_t percent) {
    image.Progress(&frame, TProgressStage::psEnding, percent, image.PaletteModified, {}, kRendering);
  };
  try {
    TFrameRenderer renderer(frame, drawn);
    if (NeedsDither(image))
      renderer.RenderDithered(*bitmap);
    else
      renderer.RenderDirect(*bitmap);
  } catch (const EAbort&) {
    end(0);
    return nullptr;
  } catch (...) {
    end(0);
    throw;
  }
  drawn.Bitmap = std::move(bitmap);
  end(100);
  if (image.PaletteModified) image.Changed();
  return drawn.Bitmap.get();
}

}  // namespace corvane
