#include "ProcessGifFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <exception>
#include <string>

#include "BackupCopy.h"
#include "gifopt/DeepOptimize.h"
#include "platform/FileUtils.h"
#include "platform/MulDiv.h"

namespace corvane {

namespace {

// Only regular files are read: a pipe or a device would block or never end, and sizes
// are 32-bit signed counts. Answers the stamp of what was read.
TFileStamp ReadFileInto(TMemoryStream& buffer, const std::string& path) {
  timespec readStart = FileClockNow();
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    int error = errno;
    throw EFOpenError(path, SystemReason(error));
  }
  if (!S_ISREG(status.st_mode)) throw EFOpenError(path, S_ISDIR(status.st_mode) ? SystemReason(EISDIR) : "not a regular file");
  if (status.st_size > INT32_MAX) throw EFOpenError(path, SystemReason(EFBIG));
  try {
    TFileStream file(path, TFileMode::OpenRead);
    int64_t size = file.Size();
    if (size > INT32_MAX) throw EFOpenError(path, SystemReason(EFBIG));
    buffer.SetSize(size);
    file.ReadBuffer(buffer.Memory(), size);
    buffer.SetPosition(0);
  } catch (const EFOpenError&) {
    throw;
  } catch (const EStreamError&) {
    throw EFOpenError(path, SystemReason(EIO));
  }
  return StampOfRead(status, readStart, buffer.Bytes());
}

// Raised when the file to replace is no longer the one read.
class EFileChanged : public EPlatformError {
 public:
  EFileChanged() : EPlatformError("the file changed during the run") {}
};

// Raised when an output would be written over the file read: a link there leads to it.
class EOutputIsInput : public EPlatformError {
 public:
  explicit EOutputIsInput(const std::string& output) : EPlatformError(output + " is the file read") {}
};

void CheckNotTheFileRead(const std::string& output, const TFileStamp& read) {
  struct stat status {};
  if (::stat(output.c_str(), &status) == 0 && status.st_dev == read.Status.st_dev && status.st_ino == read.Status.st_ino)
    throw EOutputIsInput(output);
}

// The output's folders are made as needed; errors name the output.
void MakeFolderOf(const std::string& output) {
  std::filesystem::path folder = std::filesystem::path(output).parent_path();
  std::error_code error;
  if (!folder.empty()) std::filesystem::create_directories(folder, error);
  if (error) throw EFCreateError(output, error.message());
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
      Append(FResult.Error = e.what());
      return false;
    }
  }
  // Optimizes and serialises the image into the buffer, rewound; then empties the image.
  TGifFileEnding Pass(TGIFImage& image, TReduceSteps steps, TMemoryStream& buffer);
  bool ReadAndBackUp();
  // The deep level's encoding of the image as read into buffer D (empty when it has none).
  void EncodeDeep();
  // The pipeline's steps up to the result texts; FResult.Ending tells how they ended.
  void Steps();

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
  FResult.Source = ReadFileInto(FWork.BufferA, FItem.Caption);
  FResult.Read = true;
  FResult.SourceSize = FWork.BufferA.Size();
  Append(std::to_string(FResult.SourceSize));
  if (FMode == TGifMode::Optimize && FOptions.Backup)
    FResult.Backup = WriteBackupCopy(FOptions, BackupPathOf(FOptions, FItem.Caption), FWork.BufferA.Bytes());
  return Guarded([&] {
    FWork.BufferA.SetPosition(0);
    FWork.ImageM.LoadFromStream(FWork.BufferA);
  });
}

void TFileRun::EncodeDeep() {
  std::optional<std::vector<uint8_t>> encoding = DeepEncode(FWork.ImageM, FWork.BufferA.Bytes(), FOptions.KeptBlocks);
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
  try {
    Steps();
  } catch (const std::exception& e) {
    if (!FOptions.ErrorsInRows) throw;
    Append(FResult.Error = e.what());
    FResult.Ending = TGifFileEnding::Failed;
  }
  if (!FResult.Backup.empty() && FResult.Backup != BackupPathOf(FOptions, FItem.Caption))
    Append("Backed up as " + FResult.Backup.string());
  return FResult;
}

void TFileRun::Steps() {
  if (AbortSeen()) return;
  if (!ReadAndBackUp()) {
    FResult.Ending = TGifFileEnding::Failed;
    return;
  }
  if (AbortSeen()) return;
  if (FOptions.Deep) EncodeDeep();
  if (AbortSeen()) return;
  if (FMode == TGifMode::Optimize && (FSeams.CheckEncoding || !FItem.Output.empty()))
    FWork.Source = FWork.BufferA.TakeBytes();
  else
    FWork.BufferA.Clear();
  bool twoPass = FOptions.TwoPass && FWork.ImageM.FrameCount() > 1;
  if (twoPass) FWork.ImageC.CopyFrom(FWork.ImageM);
  if (AbortSeen()) return;
  if (twoPass) {
    FResult.Ending = Pass(FWork.ImageC, kFirstPassSteps | FOptions.KeptBlocks, FWork.BufferA);
    if (FResult.Ending != TGifFileEnding::Complete) return;
  }
  FResult.Ending = Pass(FWork.ImageM, kMainPassSteps | FOptions.KeptBlocks, FWork.BufferB);
  if (FResult.Ending != TGifFileEnding::Complete) return;

  bool firstPassWins = twoPass && FWork.BufferB.Size() > FWork.BufferA.Size();
  FResult.Chosen = firstPassWins ? &FWork.BufferA : &FWork.BufferB;
  const bool deepWins = FWork.BufferD.Size() > 0 && FWork.BufferD.Size() < FResult.Chosen->Size();
  if (deepWins) FResult.Chosen = &FWork.BufferD;
  FResult.Verified = deepWins;
  FResult.OptimizedSize = FResult.Chosen->Size();
  FItem.AppendResult(std::to_string(FResult.OptimizedSize));
  int32_t reduction = MulDiv(int32_t(FResult.SourceSize - FResult.OptimizedSize), 100, int32_t(FResult.SourceSize));
  Append(std::to_string(reduction) + "%");
}

void Refuse(TGifListItem& item, int index, TGifFileResult& result, const std::string& why, const TGifRunSeams& seams) {
  result.Refused = true;
  result.LooksDifferent = false;
  item.AppendResult("Not replaced: " + why);
  if (seams.ItemChanged) seams.ItemChanged(index);
}

}  // namespace

TGifFileResult ProcessGifFile(TGifListItem& item, int index, TGifMode mode, const TGifOptions& options, TGifWorkingSet& work,
                              const std::atomic<bool>& abortRequested, const TGifRunSeams& seams) {
  return TFileRun(item, index, mode, options, work, abortRequested, seams).Run();
}

void CheckSmallerEncoding(TGifListItem& item, int index, TGifFileResult& result, const TGifWorkingSet& work,
                          const TGifRunSeams& seams) {
  if (!seams.CheckEncoding || result.Verified) return;
  std::optional<std::string> difference;
  try {
    difference = seams.CheckEncoding(work.Source, result.Chosen->Bytes());
  } catch (const std::exception& e) {
    difference = e.what();
  }
  if (!difference) return;
  Refuse(item, index, result, *difference, seams);
  result.LooksDifferent = true;
}

void ReplaceFile(TGifListItem& item, int index, TGifFileResult& result, std::span<const uint8_t> bytes,
                 const TGifOptions& options, const TGifRunSeams& seams) {
  bool inPlace = item.Output.empty();
  if (inPlace && (result.Refused || !result.Smaller())) return;
  TReplaceOptions replace{options.PreserveTime && inPlace, [&] {
                            if (seams.BeforeReplace) seams.BeforeReplace(item.Caption);
                            if (!StillTheFileRead(item.Caption, result.Source)) throw EFileChanged();
                          }};
  if (!inPlace) replace.BeforeRename = [&] { CheckNotTheFileRead(item.Output, result.Source); };
  try {
    if (!inPlace) MakeFolderOf(item.Output);
    WriteFileAtomically(inPlace ? item.Caption : item.Output, bytes, replace);
    result.Rewritten = result.Smaller() && !result.Refused;
  } catch (const EFileChanged& e) {
    Refuse(item, index, result, e.what(), seams);
  } catch (const EOutputIsInput& e) {
    Refuse(item, index, result, e.what(), seams);
  } catch (const EFCreateError& e) {
    if (!options.ErrorsInRows) throw;
    Refuse(item, index, result, e.what(), seams);
  }
}

std::span<const uint8_t> BytesToWrite(const TGifListItem& item, const TGifFileResult& result, const TGifWorkingSet& work) {
  if (result.Ending != TGifFileEnding::Complete) return {};
  if (result.Smaller() && !result.Refused) return result.Chosen->Bytes();
  if (item.Output.empty()) return {};
  return work.Source;
}

void FinishOptimizedFile(TGifListItem& item, int index, TGifFileResult& result, const TGifWorkingSet& work,
                         const TGifOptions& options, const TGifRunSeams& seams) {
  if (result.Smaller()) CheckSmallerEncoding(item, index, result, work, seams);
  ReplaceFile(item, index, result, BytesToWrite(item, result, work), options, seams);
}

}  // namespace corvane
