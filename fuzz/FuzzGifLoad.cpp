// Loads arbitrary bytes as a GIF file; what loads is saved, loaded again and saved again, and
// both saves must give the same bytes. Only GIFException may leave the reader or the writer.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "GifFuzzLimits.h"
#include "gif/GIFCodec.h"

namespace {

using namespace corvane;

// Answers false when the reader refused the bytes.
bool LoadGif(TGIFImage& image, std::vector<uint8_t> bytes) {
  image.FWarningHandler = [](const TPersistent*, int, const std::string&) {};
  TMemoryStream stream(std::move(bytes));
  try {
    image.LoadFromStream(stream);
  } catch (const GIFException&) {
    return false;
  }
  return true;
}

std::vector<uint8_t> SaveGif(TGIFImage& image) {
  TMemoryStream stream;
  image.SaveToStream(stream);
  return stream.TakeBytes();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LimitGifPixelsForFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGIFImage image;
  if (!LoadGif(image, std::vector<uint8_t>(data, data + size))) return 0;
  std::vector<uint8_t> saved;
  try {
    saved = SaveGif(image);
  } catch (const GIFException&) {
    return 0;  // pixels outside the colour table, or no frames
  }
  TGIFImage again;
  if (!LoadGif(again, saved)) std::abort();
  // Frames without pixels or extensions are not written; an image of only such frames reads
  // back without frames, which cannot be saved.
  if (again.FrameCount() > 0 && SaveGif(again) != saved) std::abort();
  return 0;
}
