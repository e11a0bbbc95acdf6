#include "FramePixels.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "gif/GIFExtensions.h"
#include "gif/GIFImage.h"
#include "gif/Interlace.h"
#include "gif/LZWDecoder.h"
#include "gif/LZWEncoder.h"
#include "gif/RLEEncoder.h"

namespace corvane {

namespace {

uint8_t FillValue(const TGIFSubImage& frame) {
  return frame.HasTransparency() ? frame.ControlBlock()->TransparentIndex() : 0;
}

// The frame holds rows of its declared height in the order of the data: moves them to their
// places, making the frame as high as the last row that came.
void PlaceInterlacedRows(TGIFSubImage& frame, int declaredHeight) {
  const int width = frame.FrameWidth(), rows = frame.FrameHeight();
  if (rows == declaredHeight) {
    MoveInterlacedRows(frame.PixelData(), width, rows);
    return;
  }
  std::vector<int> target;
  int row = 0, pass = 0;
  do {
    target.push_back(row);
  } while (int(target.size()) < rows && NextInterlacedRow(row, pass, declaredHeight));
  std::vector<uint8_t> came(frame.PixelData(), frame.PixelData() + frame.PixelDataSize());
  frame.AllocateRows(*std::max_element(target.begin(), target.end()) + 1);
  std::memset(frame.PixelData(), FillValue(frame), size_t(frame.PixelDataSize()));
  for (size_t k = 0; k < target.size(); ++k)
    std::memcpy(frame.RowStart(target[k]), &came[k * size_t(width)], size_t(width));
}

}  // namespace

bool DecodeFramePixels(TGIFSubImage& frame, TStream& stream) {
  const int width = frame.FrameWidth(), height = frame.FrameHeight();
  auto warn = [&frame](const std::string& message) { frame.ReportWarning(wsIrregularData, message); };
  if (width == 0 || height == 0) {
    DecodeLzwPixels(stream, nullptr, 0, 0, false, warn);
    return true;
  }
  const int64_t reachable = std::min<int64_t>(height, (LzwPixelBound(stream) + width - 1) / width);
  frame.AllocateRows(int(reachable));
  std::memset(frame.PixelData(), FillValue(frame), size_t(frame.PixelDataSize()));
  size_t decoded = frame.PixelDataSize();
  try {
    decoded = DecodeLzwPixels(stream, frame.PixelData(), width, int(reachable), false, warn);
  } catch (...) {
    if (frame.IsInterlaced()) PlaceInterlacedRows(frame, height);
    throw;
  }
  const int rows = int(std::max<size_t>(1, (decoded + size_t(width) - 1) / size_t(width)));
  if (rows < reachable) frame.CropFrame(Bounds(0, 0, width, rows));
  if (frame.IsInterlaced()) PlaceInterlacedRows(frame, height);
  return reachable == height && decoded == size_t(width) * size_t(height);
}

void EncodeFramePixels(TGIFSubImage& frame, TStream& stream) {
  const TGIFImage& image = frame.OwnerImage();
  int entries = frame.LocalTable().EntryCount();
  int minCodeSize = entries > 0 ? DepthForCount(entries) : image.DeepestBitDepth();
  // Without any table every index shows black: the code size holds whatever the pixels hold.
  if (frame.ActiveTable().EntryCount() == 0 && !frame.IsBlank()) {
    const uint8_t* pixels = frame.PixelData();
    minCodeSize = std::max(minCodeSize, DepthForCount(*std::max_element(pixels, pixels + frame.PixelDataSize()) + 1));
  }
  int colorCount = entries > 0 ? entries : 1 << minCodeSize;
  std::unique_ptr<TGIFEncoder> encoder;
  if (image.PixelCoding == pcRunLength)
    encoder = std::make_unique<TRLEEncoder>();
  else
    encoder = std::make_unique<TLZWEncoder>();
  encoder->CompressPixels(stream, uint8_t(minCodeSize), frame.FrameWidth(), frame.FrameHeight(),
                          frame.IsInterlaced(), frame.PixelData(), colorCount);
}

}  // namespace corvane
