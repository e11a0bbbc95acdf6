#include "ProcessGifFile.h"

#include <sys/stat.h>

#include <climits>
#include <exception>
#include <string>

#include "gifopt/DeepOptimize.h"
#include "platform/FileUtils.h"
#include "platform/MulDiv.h"

namespace corvane {

namespace {

// Only regular files are read: a pipe or a device would block or never end, and sizes
// are 32-bit signed counts.
void ReadFileInto(TMemoryStream& buffer, const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > INT32_MAX)
    throw EFOpenError(path);
  try {
    TFileStream file(path, TFileMode::OpenRead);
    int64_t size = file.Size();
    if (size > INT32_MAX) throw EFOpenError(path);
    buffer.SetSize(size);
    file.ReadBuffer(buffer.Memory(), size);
    buffer.SetPosition(0);
  } catch (const EStreamError&) {
    throw EFOpenError(path);
  }
}

// Whatever way a file ends, its frames do not survive into the next file.
class TDiscardImages {
 public:
  explicit TDiscardImages(TGifWorkingSet& work) : FWork(work) {}
  ~TDiscardImages() {
    FWork.ImageM.DiscardContents();
    FWork.ImageC.DiscardContents();
  }
  TDiscardImages(const TDiscardImages&) = delete;
  TDiscardImages& operator=(const TDiscardImages&) = delete;

 private:
  TGifWorkingSet& FWork;
};

class TFileRun {
 public:
  TFileRun(TGifListItem& item, int index, TGifMode mode, const TGifOptions& options, TGifWorkingSet& work,
           const std::atomic<bool>& abortRequested, const TGifRunSeams& seams)
      : FItem(item), FIndex(index), FMode(mode), FOptions(options), FWork(work), FAbort(abortRequested), FSeams(seams) {}

  TGifFileResult Run();

 private:
  bool AbortSeen() const { return FAbort.load(std::memory_order_relaxed); }
  void Append(std::string text) {
    FItem.AppendResult(std::move(text));
    if (FSeams.ItemChanged) FSeams.ItemChanged(FIndex);
  }
  // Appends the error's message and answers false when the step raises.
  template <typename Step>
  bool Guarded(Step step) {
    try {
      step();
      return true;
    } catch (const std::exception& e) {
      Append(e.what());
      return false;
    }
  }
  // Optimizes and serialises the image into the buffer, rewound; then empties the image.
  TGifFileEnding Pass(TGIFImage& image, TReduceSteps steps, TMemoryStream& buffer);
  bool ReadAndBackUp();
  // The deep level's encoding of the image as read into buffer D (empty when it has none).
  void EncodeDeep();

  TGifListItem& FItem;
  int FIndex;
  TGifMode FMode;
  const TGifOptions& FOptions;
  TGifWorkingSet& FWork;
  const std::atomic<bool>& FAbort;
  const TGifRunSeams& FSeams;
  TGifFileResult FResult;
};

bool TFileRun::ReadAndBackUp() {
  FWork.BufferA.Clear();
  FWork.BufferB.Clear();
  FWork.BufferD.Clear();
  FWork.Source.clear();
  ReadFileInto(FWork.BufferA, FItem.Caption);
  if (FMode == TGifMode::Optimize && FOptions.Backup)
    WriteFileAtomically(FOptions.BackupDirectory + "/" + FileNamePart(FItem.Caption), FWork.BufferA.Bytes());
  FResult.SourceSize = FWork.BufferA.Size();
  Append(std::to_string(FResult.SourceSize));
  return Guarded([&] {
    FWork.BufferA.SetPosition(0);
    FWork.ImageM.LoadFromStream(FWork.BufferA);
  });
}

void TFileRun::EncodeDeep() {
  std::optional<std::vector<uint8_t>> encoding = DeepEncode(FWork.ImageM, FWork.BufferA.Bytes());
  if (encoding) FWork.BufferD.Write(encoding->data(), int64_t(encoding->size()));
  FWork.BufferD.SetPosition(0);
}

TGifFileEnding TFileRun::Pass(TGIFImage& image, TReduceSteps steps, TMemoryStream& buffer) {
  FSeams.Reduce(image, steps);
  if (!Guarded([&] { image.SaveToStream(buffer); })) return TGifFileEnding::Failed;
  if (AbortSeen()) return TGifFileEnding::Aborted;
  image.DiscardContents();
  buffer.SetPosition(0);
  return TGifFileEnding::Complete;
}

TGifFileResult TFileRun::Run() {
  TDiscardImages discard(FWork);
  if (AbortSeen()) return FResult;
  if (!ReadAndBackUp()) {
    FResult.Ending = TGifFileEnding::Failed;
    return FResult;
  }
  if (AbortSeen()) return FResult;
  if (FOptions.Deep) EncodeDeep();
  if (AbortSeen()) return FResult;
  if (FSeams.CheckEncoding && FMode == TGifMode::Optimize)
    FWork.Source = FWork.BufferA.TakeBytes();
  else
    FWork.BufferA.Clear();
  bool twoPass = FOptions.TwoPass && FWork.ImageM.FrameCount() > 1;
  if (twoPass) FWork.ImageC.CopyFrom(FWork.ImageM);
  if (AbortSeen()) return FResult;
  if (twoPass) {
    FResult.Ending = Pass(FWork.ImageC, kFirstPassSteps, FWork.BufferA);
    if (FResult.Ending != TGifFileEnding::Complete) return FResult;
  }
  FResult.Ending = Pass(FWork.ImageM, kMainPassSteps, FWork.BufferB);
  if (FResult.Ending != TGifFileEnding::Complete) return FResult;

  bool firstPassWins = twoPass && FWork.BufferB.Size() > FWork.BufferA.Size();
  FResult.Chosen = firstPassWins ? &FWork.BufferA : &FWork.BufferB;
  const bool deepWins = FWork.BufferD.Size() > 0 && FWork.BufferD.Size() < FResult.Chosen->Size();
  if (deepWins) FResult.Chosen = &FWork.BufferD;
  FResult.OptimizedSize = FResult.Chosen->Size();
  FItem.AppendResult(std::to_string(FResult.OptimizedSize));
  int32_t reduction = MulDiv(int32_t(FResult.SourceSize - FResult.OptimizedSize), 100, int32_t(FResult.SourceSize));
  Append(std::to_string(reduction) + "%");
  return FResult;
}

}  // namespace

TGifFileResult ProcessGifFile(TGifListItem& item, int index, TGifMode mode, const TGifOptions& options, TGifWorkingSet& work,
                              const std::atomic<bool>& abortRequested, const TGifRunSeams& seams) {
  return TFileRun(item, index, mode, options, work, abortRequested, seams).Run();
}

void ReplaceWithSmallerEncoding(TGifListItem& item, int index, TGifFileResult& result, TGifWorkingSet& work,
                                const TGifRunSeams& seams) {
  const std::vector<uint8_t>& encoding = result.Chosen->Bytes();
  if (seams.CheckEncoding) {
    std::optional<std::string> difference;
    try {
      difference = seams.CheckEncoding(work.Source, encoding);
    } catch (const std::exception& e) {
      difference = e.what();
    }
    if (difference) {
      result.Refused = true;
      item.AppendResult("Not replaced: " + *difference);
      if (seams.ItemChanged) seams.ItemChanged(index);
      return;
    }
  }
  WriteFileAtomically(item.Caption, encoding);
  result.Rewritten = true;
}

}  // namespace corvane
