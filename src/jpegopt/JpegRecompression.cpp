#include "JpegRecompression.h"

#include "platform/Exceptions.h"
#include "platform/Stream.h"

namespace corvane {

TJpegRecompressResult RunRecompressJob(const TJpegRecompressJob& job, const std::function<bool()>& superseded) {
  auto goOn = [&] {
    if (superseded()) throw EAbort();
  };
  TJPEGImage result;
  result.Cancelled = superseded;
  if (job.ColourDepth) result.SetColourDepth(*job.ColourDepth);
  if (job.GreyMode) result.SetGreyMode(*job.GreyMode);
  result.SaveQuality = uint8_t(job.Quality);
  // After the settings: changing them discards an assigned picture. The source is
  // compressed where it is, without a working copy.
  result.CompressFrom(*job.Source);
  goOn();
  result.SaveToFile(job.TemporaryFile);
  goOn();
  TJpegRecompressResult made;
  made.Shown = std::make_unique<TJPEGImage>();
  made.Shown->LoadFromFile(job.TemporaryFile);
  TMemoryStream saved;
  made.Shown->SaveToStream(saved);
  made.Size = saved.Size();
  goOn();
  if (job.Decode) {
    made.Shown->Cancelled = superseded;
    made.Shown->DecodeToDraw(job.PaneWidth, job.PaneHeight);
    made.Shown->Cancelled = nullptr;  // the caller's object from here on
    goOn();
  }
  return made;
}

}  // namespace corvane
