#include "ParallelGifRun.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileUtils.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;

// Done: worked on, waiting for the calling thread; Ended: finished and reported, or the
// run ended before it.
enum class TItemState : uint8_t { Pending, Working, Done, Ended, Escaped };

// How far beyond the file to be finished next the workers may go, per worker: results
// waiting to be finished hold their encodings.
constexpr int kLookAheadPerJob = 2;

// Names that stand for one file: its device and inode when it exists, else its
// absolute, normalised path.
std::string FileIdentity(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0) return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  return "path:" + (error ? fs::path(path) : absolute).lexically_normal().string();
}

// What a worker leaves for the calling thread.
struct TWorkedItem {
  TGifFileResult Result;
  std::vector<uint8_t> Encoding;
  std::exception_ptr Error;
  size_t TextsBefore = 0;  // the item's texts when the worker took it
};

class TScheduler {
 public:
  explicit TScheduler(const TParallelGifRun& run)
      : FRun(run), FStates(size_t(run.List.Count())), FItems(FStates.size()), FEndAt(FStates.size()),
        FBudget(run.Options.MemoryBudget) {
    FindConflicts();
  }

  void Run();

 private:
  void FindConflicts();
  bool Aborting() const { return FRun.AbortRequested.load(); }
  // Under the lock: the first pending item the workers may take, or -1.
  int NextReady() const;
  void Work();
  void Process(int index, TGifWorkingSet& work);
  void SetState(int index, TItemState state);
  // On the calling thread: finishes and reports the item; answers whether the run goes on.
  bool Conclude(size_t index, TItemState state);
  // The items after the ending: the texts their workers gave them are taken back.
  void TakeBackAfter(size_t ending);
  // An abort request comes without a notification (from a signal handler, say), so
  // waits look at the flag now and then.
  template <typename Predicate>
  void WaitFor(std::unique_lock<std::mutex>& lock, Predicate ready) {
    while (!FChanged.wait_for(lock, std::chrono::milliseconds(50), ready)) {
    }
  }
  void StopWorkers() {
    {
      std::lock_guard lock(FMutex);
      FStop = true;
    }
    FChanged.notify_all();
  }

  const TParallelGifRun& FRun;
  std::vector<TItemState> FStates;
  std::vector<TWorkedItem> FItems;
  // For each item, the latest earlier items it conflicts with.
  std::vector<std::vector<int>> FConflicts;
  size_t FFirstPending = 0;
  size_t FNextToConclude = 0;
  // The first item that ended aborted or raised: later items are not taken.
  size_t FEndAt;
  bool FStop = false;
  std::exception_ptr FError;
  std::mutex FMutex;
  std::condition_variable FChanged;
  // The workers' frames share it.
  TGIFMemoryBudget FBudget;
};

void TScheduler::FindConflicts() {
  bool backups = FRun.Mode == TGifMode::Optimize && FRun.Options.Backup;
  std::map<std::string, int> lastWithKey;
  FConflicts.resize(FStates.size());
  for (int i = 0; i < FRun.List.Count(); ++i) {
    const std::string& path = FRun.List.Item(i).Caption;
    std::vector<std::string> keys{"file " + FileIdentity(path)};
    if (backups) keys.push_back("backup " + FileNamePart(path));
    for (const std::string& key : keys) {
      auto [it, fresh] = lastWithKey.try_emplace(key, i);
      if (!fresh) FConflicts[size_t(i)].push_back(std::exchange(it->second, i));
    }
  }
}

int TScheduler::NextReady() const {
  size_t limit = std::min(FEndAt, FNextToConclude + size_t(kLookAheadPerJob * FRun.Jobs));
  for (size_t i = FFirstPending; i < limit; ++i) {
    if (FStates[i] != TItemState::Pending) continue;
    bool ready = true;
    for (int earlier : FConflicts[i]) ready = ready && FStates[size_t(earlier)] == TItemState::Ended;
    if (ready) return int(i);
  }
  return -1;
}

void TScheduler::SetState(int index, TItemState state) {
  std::lock_guard lock(FMutex);
  FStates[size_t(index)] = state;
  if (state == TItemState::Escaped || FItems[size_t(index)].Result.Ending == TGifFileEnding::Aborted)
    FEndAt = std::min(FEndAt, size_t(index));
  FChanged.notify_all();
}

void TScheduler::Process(int index, TGifWorkingSet& work) {
  TWorkedItem& worked = FItems[size_t(index)];
  try {
    TGifListItem& item = FRun.List.Item(index);
    worked.TextsBefore = item.SubItems.size();
    TGifFileResult result = ProcessGifFile(item, index, FRun.Mode, FRun.Options, work, FRun.AbortRequested, FRun.WorkerSeams);
    if (result.Ending == TGifFileEnding::Complete && FRun.Check) FRun.Check(index, result, work);
    if (FRun.Mode == TGifMode::Optimize) {
      std::span<const uint8_t> bytes = BytesToWrite(item, result, work);
      worked.Encoding.assign(bytes.begin(), bytes.end());
    }
    result.Chosen = nullptr;
    worked.Result = std::move(result);
    SetState(index, TItemState::Done);
  } catch (...) {
    worked.Error = std::current_exception();
    SetState(index, TItemState::Escaped);
  }
}

void TScheduler::Work() {
  auto work = std::make_unique<TGifWorkingSet>();
  work->ShareBudget(FBudget);
  for (;;) {
    int index;
    {
      std::unique_lock lock(FMutex);
      auto over = [&] { return FStop || Aborting() || FFirstPending >= FEndAt; };
      WaitFor(lock, [&] { return over() || NextReady() >= 0; });
      if (over()) return;
      index = NextReady();
      FStates[size_t(index)] = TItemState::Working;
      while (FFirstPending < FStates.size() && FStates[FFirstPending] != TItemState::Pending) ++FFirstPending;
    }
    Process(index, *work);
  }
}

bool TScheduler::Conclude(size_t index, TItemState state) {
  TWorkedItem& worked = FItems[index];
  TGifFileResult& result = worked.Result;
  if (state == TItemState::Escaped) {
    FError = worked.Error;
    return false;
  }
  // A file not yet worked on, or worked on ahead of a run in order that would have seen
  // the abort request before it: it ends aborted before it is read.
  if (state == TItemState::Pending || (result.Ending != TGifFileEnding::Aborted && Aborting())) {
    if (state == TItemState::Done) FRun.List.Item(int(index)).SubItems.resize(worked.TextsBefore);
    FRun.Report(int(index), TGifFileResult{});
    return false;
  }
  try {
    if (result.Ending == TGifFileEnding::Complete && FRun.Finish) FRun.Finish(int(index), result, worked.Encoding);
  } catch (...) {
    FError = std::current_exception();
    return false;
  }
  worked.Encoding = {};
  {
    std::lock_guard lock(FMutex);
    FStates[index] = TItemState::Ended;
    FNextToConclude = index + 1;
  }
  FChanged.notify_all();
  FRun.Report(int(index), result);
  return result.Ending != TGifFileEnding::Aborted;
}

void TScheduler::TakeBackAfter(size_t ending) {
  for (size_t i = ending + 1; i < FStates.size(); ++i)
    if (FStates[i] != TItemState::Pending) FRun.List.Item(int(i)).SubItems.resize(FItems[i].TextsBefore);
}

// Workers are told to stop before they are joined, also when a report raises.
class TStopOnExit {
 public:
  explicit TStopOnExit(std::function<void()> stop) : FStop(std::move(stop)) {}
  ~TStopOnExit() { FStop(); }
  TStopOnExit(const TStopOnExit&) = delete;
  TStopOnExit& operator=(const TStopOnExit&) = delete;

 private:
  std::function<void()> FStop;
};

void TScheduler::Run() {
  size_t ending = FStates.size();
  {
    std::vector<std::jthread> workers;
    TStopOnExit stop([this] { StopWorkers(); });
    int count = std::max(1, std::min<int>(FRun.Jobs, int(FStates.size())));
    for (int w = 0; w < count; ++w) workers.emplace_back([this] { Work(); });
    for (size_t i = 0; i < FStates.size(); ++i) {
      TItemState state;
      {
        std::unique_lock lock(FMutex);
        WaitFor(lock, [&] { return FStates[i] >= TItemState::Done || (FStates[i] == TItemState::Pending && Aborting()); });
        state = FStates[i];
      }
      if (!Conclude(i, state)) {
        ending = i;
        break;
      }
    }
  }
  TakeBackAfter(ending);
  if (FError) std::rethrow_exception(FError);
}

}  // namespace

void RunGifListInParallel(const TParallelGifRun& run) { TScheduler(run).Run(); }

}  // namespace corvane
