#include "FramePixels.h"

#include <cstring>
#include <memory>

#include "gif/GIFExtensions.h"
#include "gif/GIFImage.h"
#include "gif/LZWDecoder.h"
#include "gif/LZWEncoder.h"
#include "gif/RLEEncoder.h"

namespace corvane {

void DecodeFramePixels(TGIFSubImage& frame, TStream& stream) {
  frame.AllocatePixels();
  if (frame.PixelData() && frame.HasTransparency() && frame.ControlBlock())
    std::memset(frame.PixelData(), frame.ControlBlock()->TransparentIndex(), size_t(frame.PixelDataSize()));
  DecodeLzwPixels(stream, frame.PixelData(), frame.FrameWidth(), frame.FrameHeight(), frame.IsInterlaced(),
                  [&frame](const std::string& message) { frame.ReportWarning(1, message); });
}

void EncodeFramePixels(TGIFSubImage& frame, TStream& stream) {
  const TGIFImage& image = frame.OwnerImage();
  int entries = frame.LocalTable().EntryCount();
  int minCodeSize = entries > 0 ? DepthForCount(entries) : image.DeepestBitDepth();
  int colorCount = entries > 0 ? entries : 1 << minCodeSize;
  std::unique_ptr<TGIFEncoder> encoder;
  if (image.PixelCoding == pcRunLength)
    encoder = std::make_unique<TRLEEncoder>();
  else
    encoder = std::make_unique<TLZWEncoder>();
  encoder->FWarningHook = [&frame](const std::string& message) { frame.ReportWarning(1, message); };
  encoder->CompressPixels(stream, uint8_t(minCodeSize), frame.FrameWidth(), frame.FrameHeight(),
                          frame.IsInterlaced(), frame.PixelData(), colorCount);
}

}  // namespace corvane
