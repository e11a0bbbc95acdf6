#include "JpegRecompression.h"

#include "platform/Exceptions.h"
#include "platform/Stream.h"
#include "platform/Synchronize.h"

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

TJpegRecompressor::TJpegRecompressor(TDone done) : FDone(std::move(done)) {}

TJpegRecompressor::~TJpegRecompressor() {
  *FAlive = false;
  {
    std::lock_guard lock(FMutex);
    FStop = true;
  }
  FWake.notify_one();
  if (FThread.joinable()) FThread.join();
}

uint64_t TJpegRecompressor::Request(TJpegRecompressJob job) {
  uint64_t serial;
  {
    std::lock_guard lock(FMutex);
    FWaiting = std::move(job);
    serial = ++FSerial;
  }
  FWake.notify_one();
  if (!FThread.joinable()) FThread = std::thread([this] { Work(); });
  return serial;
}

void TJpegRecompressor::Work() {
  for (;;) {
    TJpegRecompressJob job;
    uint64_t serial;
    {
      std::unique_lock lock(FMutex);
      FWake.wait(lock, [this] { return FStop || FWaiting; });
      if (FStop) return;
      job = std::move(*FWaiting);
      FWaiting.reset();
      serial = FSerial;
    }
    TJpegRecompressResult result;
    std::exception_ptr error;
    try {
      result = RunRecompressJob(job, [this, serial] { return FSerial.load() != serial; });
    } catch (const EAbort&) {
      continue;  // a later request is waiting
    } catch (...) {
      error = std::current_exception();
    }
    HandOver(serial, std::move(result), error);
  }
}

void TJpegRecompressor::HandOver(uint64_t serial, TJpegRecompressResult result, std::exception_ptr error) {
  auto made = std::make_shared<TJpegRecompressResult>(std::move(result));
  QueueToMainThread([alive = FAlive, done = FDone, serial, made, error] {
    if (*alive) done(serial, *made, error);
  });
}

}  // namespace corvane
