#include "JpegSource.h"

#include "JpegWorkflow.h"

namespace corvane {

TJpegSource ReadJpegSource(const std::filesystem::path& fileName, const std::function<bool()>& superseded) {
  auto goOn = [&] {
    if (superseded()) throw EAbort();
  };
  std::unique_ptr<TBitmap> bitmap = DrawPictureFile(fileName);
  goOn();
  TJpegSource source;
  source.Jpeg = std::make_unique<TJPEGImage>();
  source.Jpeg->CopyFrom(*bitmap);
  // The recompressions read the drawn bitmap itself: it holds the pixels of Jpeg's copy.
  source.Pixels = std::move(bitmap);
  goOn();
  source.Shown = source.Jpeg->Clone();
  try {
    source.Size = FileByteSize(fileName);
  } catch (...) {
    source.SizeError = std::current_exception();
  }
  return source;
}

}  // namespace corvane
