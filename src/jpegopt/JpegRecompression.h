#pragma once
// The JPG tab's result rebuilt from the source bitmap: one job with the settings in force
// when it was asked for, run on any thread, and TJpegRecompressor, which runs jobs on a
// worker thread of its own and makes only the latest of those asked for meanwhile.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "JPEGImage.h"

namespace corvane {

struct TJpegRecompressJob {
  std::shared_ptr<const TBitmap> Source;  // nobody changes it while jobs may read it
  int Quality = 60;
  // The radio buttons' settings; none for the first result after Open, which keeps the
  // defaults.
  std::optional<TJPEGPixelFormat> ColourDepth;
  std::optional<bool> GreyMode;
  std::filesystem::path TemporaryFile;
  // Decodes the result here rather than when its pane first paints it: for drawing into
  // a pane of PaneWidth by PaneHeight, or the whole picture while they are 0.
  bool Decode = false;
  int PaneWidth = 0;
  int PaneHeight = 0;
};

struct TJpegRecompressResult {
  std::unique_ptr<TJPEGImage> Shown;  // as loaded back from the temporary file
  int64_t Size = 0;                   // its bytes, as the pane would save them
};

// Compresses the source at the job's settings, writes the temporary file (this is where
// "Cannot create file %s" arises) and loads it back. Inside the library's work and between
// its steps it asks whether the job is still wanted, and raises EAbort when it is not.
TJpegRecompressResult RunRecompressJob(const TJpegRecompressJob& job,
                                       const std::function<bool()>& superseded = [] { return false; });

class TJpegRecompressor {
 public:
  // Runs on the user-interface thread for each job made, with its serial and either its
  // result or its error.
  using TDone = std::function<void(uint64_t serial, TJpegRecompressResult& result, std::exception_ptr error)>;

  explicit TJpegRecompressor(TDone done);
  // Waits for the job under work; what it makes is not handed over.
  ~TJpegRecompressor();
  TJpegRecompressor(const TJpegRecompressor&) = delete;
  TJpegRecompressor& operator=(const TJpegRecompressor&) = delete;

  // Queues the job in place of any job still waiting, and ends the one under work at its
  // next step; the Done of neither runs. Answers the job's serial, counted from 1.
  // User-interface thread only.
  uint64_t Request(TJpegRecompressJob job);

 private:
  void Work();
  void HandOver(uint64_t serial, TJpegRecompressResult result, std::exception_ptr error);

  TDone FDone;
  // Set and read on the user-interface thread only: false once the recompressor is gone,
  // for the outcomes still queued there.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  std::mutex FMutex;
  std::condition_variable FWake;
  std::optional<TJpegRecompressJob> FWaiting;
  std::atomic<uint64_t> FSerial{0};  // of the latest request
  bool FStop = false;
  std::thread FThread;  // started by the first request
};

}  // namespace corvane
